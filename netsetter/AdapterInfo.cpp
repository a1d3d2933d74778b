// The PC's adapters as GetAdaptersInfo gives them, and what the logon flow takes from them.
#include "netsetter/AdapterInfo.h"
#include <cstring>
#include "afx/AddressText.h"
#include "netsetter/DeviceTable.h"
#include "netsetter/SettingChecks.h"

std::vector<uint8_t> ReadAdapters()
{
    ULONG size = 0;
    DWORD r = GetAdaptersInfo(nullptr, &size);
    if ((r != ERROR_BUFFER_OVERFLOW && r != NO_ERROR) || size == 0)
        return {};
    std::vector<uint8_t> buffer(size, 0);
    if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) != NO_ERROR)
        return {};
    return buffer;
}

const IP_ADAPTER_INFO* FirstAdapter(const std::vector<uint8_t>& buffer)
{
    return buffer.empty() ? nullptr : reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
}

const IP_ADAPTER_INFO* LastAdapter(const IP_ADAPTER_INFO* adapters)
{
    while (adapters && adapters->Next)
        adapters = adapters->Next;
    return adapters;
}

void TakeSmallestAdapterMac(const IP_ADAPTER_INFO* adapters, uint8_t mac[6])
{
    bool first = true;
    for (const IP_ADAPTER_INFO* a = adapters; a; a = a->Next) {
        // The mark stays until an adapter is taken, or the MAC before (zero at start) would win.
        if (a->AddressLength != 6)
            continue;
        if (first || std::memcmp(a->Address, mac, 6) < 0)
            std::memcpy(mac, a->Address, 6);
        first = false;
    }
}

std::vector<unsigned> AddressConflictWarnings(const IP_ADAPTER_INFO* adapters, uint32_t address,
                                              uint32_t gateway, int kind)
{
    std::vector<unsigned> warnings;
    const IP_ADAPTER_INFO* last = LastAdapter(adapters);
    if (!last)
        return warnings;
    const std::string pc = last->IpAddressList.IpAddress.String;
    if (afx::FormatIpAddressA(address) == pc)
        warnings.push_back(kStrAddressConflict);
    if (afx::FormatIpAddressA(gateway) == pc && kind != kKindStorage)
        warnings.push_back(kStrGatewayConflict);
    return warnings;
}
