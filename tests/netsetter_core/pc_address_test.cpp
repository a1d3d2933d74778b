// What the logon flow takes from the PC's adapters and address table, as tables.
#include "netsetter/AdapterInfo.h"
#include "netsetter/HostAddressTable.h"
#include "netsetter/SettingChecks.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {
constexpr uint32_t Ip(int a, int b, int c, int d) { return uint32_t(a) << 24 | b << 16 | c << 8 | d; }
using Mac = std::vector<uint8_t>;
struct Adapter { UINT length; Mac mac; const char* address; };

// A chain as GetAdaptersInfo links it.
std::vector<IP_ADAPTER_INFO> Chain(const std::vector<Adapter>& list)
{
    std::vector<IP_ADAPTER_INFO> chain(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        chain[i].AddressLength = list[i].length;
        std::memcpy(chain[i].Address, list[i].mac.data(), 6);
        std::strcpy(chain[i].IpAddressList.IpAddress.String, list[i].address);
        chain[i].Next = i + 1 < list.size() ? &chain[i + 1] : nullptr;
    }
    return chain;
}
}  // namespace

// The PC MAC and the conflict warnings, from one chain a row: the last adapter's first address
// is the PC's for the warnings.
TEST(LogonChecks, PcMacAndConflictWarnings)
{
    const Mac zero(6, 0), one = {0, 0, 0, 0, 0, 1}, a = {2, 0, 0, 0, 0, 0x20}, b = {2, 0, 0, 0, 0, 0x10};
    const Mac high = {0x80, 0, 0, 0, 0, 1}, low = {0x7F, 0xFF, 0, 0, 0, 0};
    const uint32_t pc = Ip(10, 0, 0, 2), other = Ip(10, 0, 0, 5);
    const std::vector<unsigned> none, both = {kStrAddressConflict, kStrGatewayConflict};
    struct Case { const char* what; std::vector<Adapter> adapters; Mac before, want; uint32_t address, gateway; int kind;
                  std::vector<unsigned> warnings; } cases[] = {
        {"a skipped adapter first", {{0, one, "0.0.0.0"}, {6, a, "10.0.0.9"}, {6, b, "10.0.0.2"}}, zero, b, pc, other, 1,
         {kStrAddressConflict}},
        {"unsigned order, other lengths skipped", {{6, high, "1.0.0.1"}, {6, low, "1.0.0.2"}, {8, one, "10.0.0.2"}},
         zero, low, other, pc, 0, {kStrGatewayConflict}},
        {"taken afresh, not against the MAC before", {{6, a, "10.0.0.2"}}, one, a, pc, pc, 2, both},
        {"no six-byte adapter keeps it", {{0, zero, "10.0.0.2"}}, a, a, other, pc, 3, none},
        {"only the last adapter counts", {{6, a, "10.0.0.5"}, {6, b, "10.0.0.2"}}, zero, b, other, other, 0, none},
        {"no adapter", {}, a, a, pc, pc, 0, none},
    };
    for (const Case& c : cases) {
        std::vector<IP_ADAPTER_INFO> chain = Chain(c.adapters);
        const IP_ADAPTER_INFO* head = chain.empty() ? nullptr : chain.data();  // as ReadAdapters' failure gives
        Mac mac = c.before;
        TakeSmallestAdapterMac(head, mac.data());
        EXPECT_EQ(mac, c.want) << c.what;
        EXPECT_EQ(AddressConflictWarnings(head, c.address, c.gateway, c.kind), c.warnings) << c.what;
    }
}

TEST(LogonChecks, PcAddressForTheDevicesNetwork)
{
    const PcAddress none = {Ip(255, 255, 255, 255), Ip(128, 0, 0, 0)}, a8 = {Ip(10, 0, 0, 2), Ip(255, 0, 0, 0)},
                    b24 = {Ip(192, 168, 1, 2), Ip(255, 255, 255, 0)}, b16 = {Ip(192, 168, 1, 3), Ip(255, 255, 0, 0)},
                    c16 = {Ip(192, 168, 7, 2), Ip(255, 255, 0, 0)}, d16 = {Ip(172, 16, 0, 2), Ip(255, 255, 0, 0)};
    struct Case { const char* what; std::vector<PcAddress> rows; PcAddress want; } cases[] = {
        {"no rows", {}, none},
        {"the device's network ends the visit", {a8, b24, b16}, b24},
        {"an overlapping network", {a8, c16}, c16},
        {"the last row decides: the first row with an address", {{0, 0}, c16, d16}, c16},
        {"only an empty row", {{0, 0}}, none},
    };
    for (const Case& c : cases) {
        HostAddressTable hosts;
        for (const PcAddress& r : c.rows)
            hosts.rows[hosts.count++] = {htonl(r.address), htonl(r.mask), 0, 0};
        PcAddress pc = ChoosePcAddress(hosts, Ip(192, 168, 1, 50), Ip(255, 255, 255, 0));
        EXPECT_EQ((std::vector<uint32_t>{pc.address, pc.mask}), (std::vector<uint32_t>{c.want.address, c.want.mask})) << c.what;
    }
}
