// What the logon flow takes from the PC's adapters and address table, as tables.
#include "netsetter/AdapterInfo.h"
#include "netsetter/HostAddressTable.h"
#include "netsetter/SettingChecks.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t Ip(int a, int b, int c, int d) { return uint32_t(a) << 24 | b << 16 | c << 8 | d; }

struct Adapter {
    int length;
    std::vector<uint8_t> mac;
    const char* address;
};

// A chain as GetAdaptersInfo links it.
std::vector<IP_ADAPTER_INFO> Chain(const std::vector<Adapter>& list)
{
    std::vector<IP_ADAPTER_INFO> chain(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        chain[i].AddressLength = UINT(list[i].length);
        std::memcpy(chain[i].Address, list[i].mac.data(), 6);
        std::strcpy(chain[i].IpAddressList.IpAddress.String, list[i].address);
        if (i)
            chain[i - 1].Next = &chain[i];
    }
    return chain;
}

const IP_ADAPTER_INFO* Head(const std::vector<IP_ADAPTER_INFO>& chain) { return chain.empty() ? nullptr : &chain[0]; }

}  // namespace

TEST(LogonChecks, PcMacIsTheSmallestSixByteAdapterMac)
{
    const std::vector<uint8_t> zero(6, 0), one = {0, 0, 0, 0, 0, 1}, a = {2, 0, 0, 0, 0, 0x20},
                               b = {2, 0, 0, 0, 0, 0x10}, high = {0x80, 0, 0, 0, 0, 1}, low = {0x7F, 0xFF, 0, 0, 0, 0};
    struct Case {
        const char* what;
        std::vector<Adapter> adapters;
        std::vector<uint8_t> before, want;
    } cases[] = {
        {"a skipped adapter first", {{0, one, "0.0.0.0"}, {6, a, "10.0.0.2"}, {6, b, "10.0.1.2"}}, zero, b},
        {"unsigned order, other lengths skipped", {{6, high, "1.0.0.1"}, {6, low, "1.0.0.2"}, {8, one, "1.0.0.3"}}, zero, low},
        {"taken afresh, not against the MAC before", {{6, a, "10.0.0.2"}}, one, a},
        {"no six-byte adapter keeps it", {{0, zero, "0.0.0.0"}}, a, a},
    };
    for (const Case& c : cases) {
        std::vector<IP_ADAPTER_INFO> chain = Chain(c.adapters);
        std::vector<uint8_t> mac = c.before;
        TakeSmallestAdapterMac(Head(chain), mac.data());
        EXPECT_EQ(mac, c.want) << c.what;
    }
}

TEST(LogonChecks, ConflictWarningsComeFromTheLastAdapter)
{
    std::vector<IP_ADAPTER_INFO> chain = Chain({{6, {2, 0, 0, 0, 0, 1}, "10.0.0.9"}, {6, {2, 0, 0, 0, 0, 2}, "10.0.0.2"}});
    struct Case {
        uint32_t address, gateway;
        int kind;
        std::vector<unsigned> want;
    } cases[] = {
        {Ip(10, 0, 0, 2), Ip(10, 0, 0, 1), 1, {kStrAddressConflict}},
        {Ip(10, 0, 0, 5), Ip(10, 0, 0, 2), 0, {kStrGatewayConflict}},
        {Ip(10, 0, 0, 2), Ip(10, 0, 0, 2), 2, {kStrAddressConflict, kStrGatewayConflict}},
        {Ip(10, 0, 0, 5), Ip(10, 0, 0, 2), 3, {}},
        {Ip(10, 0, 0, 9), Ip(10, 0, 0, 9), 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddressConflictWarnings(Head(chain), c.address, c.gateway, c.kind), c.want) << std::hex << c.address;
    EXPECT_TRUE(AddressConflictWarnings(nullptr, Ip(10, 0, 0, 2), 0, 0).empty());
}

TEST(LogonChecks, PcAddressForTheDevicesNetwork)
{
    struct Row {
        uint32_t address, mask;
    };
    struct Case {
        const char* what;
        std::vector<Row> rows;
        Row want;
    } cases[] = {
        {"no rows", {}, {Ip(255, 255, 255, 255), Ip(128, 0, 0, 0)}},
        {"the device's network ends the visit",
         {{Ip(10, 0, 0, 2), Ip(255, 0, 0, 0)}, {Ip(192, 168, 1, 2), Ip(255, 255, 255, 0)}, {Ip(192, 168, 1, 3), Ip(255, 255, 0, 0)}},
         {Ip(192, 168, 1, 2), Ip(255, 255, 255, 0)}},
        {"an overlapping network", {{Ip(10, 0, 0, 2), Ip(255, 0, 0, 0)}, {Ip(192, 168, 7, 2), Ip(255, 255, 0, 0)}},
         {Ip(192, 168, 7, 2), Ip(255, 255, 0, 0)}},
        {"the last row decides: first row with an address",
         {{0, 0}, {Ip(192, 168, 7, 2), Ip(255, 255, 0, 0)}, {Ip(172, 16, 0, 2), Ip(255, 255, 0, 0)}},
         {Ip(192, 168, 7, 2), Ip(255, 255, 0, 0)}},
        {"only an empty row", {{0, 0}}, {Ip(255, 255, 255, 255), Ip(128, 0, 0, 0)}},
    };
    for (const Case& c : cases) {
        HostAddressTable hosts;
        for (const Row& r : c.rows)
            hosts.rows[hosts.count++] = {htonl(r.address), htonl(r.mask), 0, 0};
        PcAddress pc = ChoosePcAddress(hosts, Ip(192, 168, 1, 50), Ip(255, 255, 255, 0));
        EXPECT_EQ(pc.address, c.want.address) << c.what;
        EXPECT_EQ(pc.mask, c.want.mask) << c.what;
    }
}
