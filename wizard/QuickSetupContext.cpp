// The quick-setup context: adapter values of the chosen adapter and the device's address proposal.
#include "wizard/QuickSetupContext.h"
#include "wizard/IcmpApi.h"
#include "wizard/NetworkParams.h"
#include "wizard/WorkstationInfo.h"

#include <windows.h>

namespace {

const wchar_t kProbeData[] = L"ICMP SEND DATA";
const int kProbeSteps = 256;

}  // namespace

QuickSetupContext::QuickSetupContext() : adapterDhcp(0)
{
    paths.Init();
}

int QuickSetupContext::SettingsFileExists() const
{
    DWORD attributes = GetFileAttributesW(paths.settingsFilePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_DIRECTORY;
}

int QuickSetupContext::WriteSettings()
{
    settings.timestamp = FormatTimestamp();
    return settings.Write(paths.settingsFilePath.c_str());
}

int QuickSetupContext::ApplyAdapter(const CAdapterEntry& adapter)
{
    CWorkstationInfo workstation;
    CNetworkParams network;
    pcWorkgroup = workstation.lanGroup;
    adapterDhcp = adapter.dhcpEnabled != 0 ? 1 : 0;
    int address = NextUsableAddress(adapter.addressList, -1);
    if (address < 0) return 0;
    ipAddress = adapter.addressList[address].address.text;
    netmask = adapter.addressList[address].mask.text;
    // An adapter without a gateway keeps the one an earlier choice brought.
    int gatewayIndex = NextUsableAddress(adapter.gatewayList, -1);
    if (gatewayIndex >= 0) gateway = adapter.gatewayList[gatewayIndex].address.text;
    int dns = NextUsableAddress(network.dnsServerList, -1);
    if (dns >= 0) dnsServer = network.dnsServerList[dns].address.text;
    return 1;
}

int QuickSetupContext::ChooseAdapterMode()
{
    adapters.Enumerate();
    int count = CountUsableAdapters(adapters);
    if (count == 0) return 0;
    ApplyAdapter(adapters.entries[NextUsableAdapter(adapters, -1)]);
    return count == 1 ? 2 : 1;
}

uint32_t ProposalCandidate(uint32_t pcAddress, uint32_t mask, int step)
{
    const uint32_t hostMask = ~mask;
    const uint32_t last = pcAddress & 0xFF;
    uint32_t candidate;
    if ((mask & 0xFF) == 0) {
        // The carry out of the last byte lands in the host bits above it, if there are any.
        candidate = (pcAddress & ~0xFFu) | ((last + step) & hostMask);
    } else {
        // A subnet inside the last byte: walk its host values, the PC's own first.
        const uint32_t hostBits = hostMask & 0xFF;
        if (static_cast<uint32_t>(step) > hostBits) return 0;
        const uint32_t host = (last + step) & hostBits;
        if (host == 0 || host == hostBits) return 0;
        candidate = (pcAddress & ~hostBits) | host;
    }
    const uint32_t low = candidate & 0xFF;
    return low == 0 || low == 0xFF ? 0 : candidate;
}

int QuickSetupContext::DetermineAddress()
{
    // An unknown workgroup of the PC (workstation service off) proposes none: the record keeps
    // the settings file's, which the completion would otherwise remove from the file.
    if (!pcWorkgroup.empty()) settings.workgroup = pcWorkgroup;
    settings.dhcp = L"on";
    settings.ip.clear();
    settings.netmask.clear();
    settings.gateway.clear();
    settings.nameserver.clear();
    if (adapterDhcp) return 1;

    CIcmpApi icmp;
    const uint32_t address = ParseDottedQuad(ipAddress.c_str());
    const uint32_t mask = ParseDottedQuad(netmask.c_str());
    // Without the PC's address and mask there is no subnet to look in.
    if (address == 0 || mask == 0) return 0;
    for (int step = 0; step < kProbeSteps; ++step) {
        const uint32_t candidate = ProposalCandidate(address, mask, step);
        if (candidate == 0) continue;
        const std::wstring text = FormatIPv4(candidate);
        // The PC's own address is never free, even when it does not answer (ICMP unusable).
        if (icmp.SendEcho(text.c_str(), kProbeData, nullptr) != 0 || candidate == address) continue;
        settings.dhcp = L"off";
        settings.ip = text;
        settings.netmask = netmask;
        settings.gateway = gateway;
        settings.nameserver = dnsServer;
        return 1;
    }
    return 0;
}
