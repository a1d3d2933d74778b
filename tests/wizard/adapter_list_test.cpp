// The adapter records: copies of hand-built system chains, the usable rules, ApplyAdapter's
// choice of values, and the real adapters of the test namespace.
#include "wizard/QuickSetupContext.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

void SetAddress(IP_ADDR_STRING& element, const char* address, const char* mask, IP_ADDR_STRING* next = nullptr)
{
    std::memset(&element, 0, sizeof(element));
    std::strcpy(element.IpAddress.String, address);
    std::strcpy(element.IpMask.String, mask);
    element.Next = next;
}

std::wstring Env(const char* name)
{
    const char* value = getenv(name);
    return value ? std::wstring(value, value + strlen(value)) : std::wstring();
}

}  // namespace

TEST(AdapterList, UsableRulesAndApplyKeepsEarlierGateway)
{
    if (Env("KIT_DEV_IP").empty()) GTEST_SKIP() << "needs the test network";
    IP_ADAPTER_INFO info[3] = {};
    IP_ADDR_STRING second;
    SetAddress(second, "192.168.3.7", "255.255.255.0");
    SetAddress(info[0].IpAddressList, "0.0.0.0", "0.0.0.0", &second);
    SetAddress(info[0].GatewayList, "192.168.3.1", "255.255.255.255");
    std::strcpy(info[0].Description, "Wired");
    info[0].AddressLength = 40;  // more than the field holds
    SetAddress(info[1].IpAddressList, "0.0.0.0", "0.0.0.0");
    info[1].DhcpEnabled = 1;
    SetAddress(info[2].IpAddressList, "10.0.0.9", "255.0.0.0");
    SetAddress(info[2].GatewayList, "0.0.0.0", "0.0.0.0");

    QuickSetupContext context;
    context.adapters.entries.clear();
    for (const IP_ADAPTER_INFO& adapter : info) context.adapters.entries.emplace_back(adapter);
    const CAdapterEntry& wired = context.adapters.entries[0];
    EXPECT_EQ(L"Wired", wired.description);
    EXPECT_EQ(8u, wired.hardwareAddress.size());
    ASSERT_EQ(2u, wired.addressList.size());
    EXPECT_EQ(1, NextUsableAddress(wired.addressList, -1));
    EXPECT_EQ(2, CountUsableAdapters(context.adapters));
    EXPECT_EQ(0, NextUsableAdapter(context.adapters, -1));
    EXPECT_EQ(2, NextUsableAdapter(context.adapters, 0));
    EXPECT_EQ(-1, NextUsableAdapter(context.adapters, 2));

    struct Step {
        int adapter, result, dhcp;
        const wchar_t *ip, *mask, *gateway;
    } steps[] = {
        {0, 1, 0, L"192.168.3.7", L"255.255.255.0", L"192.168.3.1"},
        {2, 1, 0, L"10.0.0.9", L"255.0.0.0", L"192.168.3.1"},  // no gateway: the earlier stays
        {1, 0, 1, L"10.0.0.9", L"255.0.0.0", L"192.168.3.1"},  // no address: only the flag
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.adapter);
        EXPECT_EQ(s.result, context.ApplyAdapter(context.adapters.entries[s.adapter]));
        EXPECT_EQ(s.dhcp, context.adapterDhcp);
        EXPECT_EQ(std::wstring(s.ip) + L" " + s.mask + L" " + s.gateway,
                  context.ipAddress + L" " + context.netmask + L" " + context.gateway);
        EXPECT_EQ(Env("KIT_DEV_IP"), context.dnsServer);  // the PC's, whichever adapter
        EXPECT_FALSE(context.pcWorkgroup.empty());
    }
}

TEST(AdapterList, ReadsTheAdaptersOfTheTestNetwork)
{
    if (Env("KIT_PC_IP").empty()) GTEST_SKIP() << "needs the test network";
    QuickSetupContext context;
    ASSERT_EQ(2, context.ChooseAdapterMode());
    EXPECT_EQ(Env("KIT_PC_IP"), context.ipAddress);
    EXPECT_EQ(L"255.255.255.0", context.netmask);
    EXPECT_EQ(Env("KIT_DEV_IP"), context.dnsServer);
}

TEST(ProgramPaths, DerivedFromTheProgramName)
{
    ProgramPaths paths;
    paths.SetFromProgramPath(L"X:\\setup\\PellgroveUSB.exe");
    EXPECT_EQ(paths.pathBelowRoot + L"|" + paths.folder + L"|" + paths.driveRoot + L"|" + paths.settingsFilePath,
              L"setup\\PellgroveUSB.exe|X:\\setup\\|X:\\|X:\\PellgroveUSB.ini");
    QuickSetupContext context;
    EXPECT_EQ(1, context.paths.Init());
    EXPECT_EQ(L"C:\\ProgramData\\Ostrand\\Pellgrove\\", context.paths.commonProductFolder);
}
