// The setting dialog's refusals and the request bytes, as tables.
#include "netsetter/DeviceRequests.h"
#include "netsetter/SettingChecks.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>

namespace {
constexpr uint32_t Ip(int a, int b, int c, int d) { return uint32_t(a) << 24 | b << 16 | c << 8 | d; }
}

TEST(SettingChecks, AddressRules)
{
    struct Case { uint32_t a, m, g; int kind; unsigned want; } cases[] = {
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), Ip(192, 168, 0, 1), 0, 0},
        {Ip(0, 0, 0, 0), Ip(255, 255, 255, 0), 0, 1, kStrInvalidAddress},
        {Ip(224, 1, 1, 1), Ip(255, 0, 0, 0), 0, 1, kStrInvalidAddress},
        {Ip(192, 168, 0, 255), Ip(255, 255, 0, 0), 0, 1, kStrInvalidAddress},
        {Ip(192, 168, 0, 0), Ip(255, 255, 255, 0), 0, 1, kStrAddressIsNetwork},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), Ip(192, 168, 0, 0), 2, kStrGatewayIsNetwork},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), 0, 0, kStrNoGateway},
        {Ip(192, 168, 0, 127), Ip(255, 255, 255, 128), 0, 1, kStrAddressIsBroadcast},
        {Ip(10, 0, 0, 5), Ip(255, 255, 255, 128), Ip(10, 0, 0, 127), 3, kStrGatewayIsBroadcast},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), Ip(192, 168, 1, 1), 2, kStrNotSameNetwork},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), Ip(10, 0, 0, 1), 1, 0},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), Ip(10, 255, 0, 1), 1, kStrInvalidGateway},
        {Ip(192, 168, 0, 5), Ip(255, 255, 255, 0), 0, 3, 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(ValidateAddresses(c.a, c.m, c.g, c.kind), c.want) << std::hex << c.a << " " << c.g << " k" << c.kind;
    for (uint32_t bad : {Ip(255, 255, 255, 255), Ip(255, 255, 255, 254), Ip(255, 0, 255, 0), Ip(0, 0, 0, 1)})
        EXPECT_TRUE(IsInvalidMask(bad)) << std::hex << bad;
    for (uint32_t good : {0u, Ip(255, 0, 0, 0), Ip(255, 255, 255, 252), Ip(128, 0, 0, 0)})
        EXPECT_FALSE(IsInvalidMask(good)) << std::hex << good;
    EXPECT_TRUE(IsSameSubnet(L"192.168.0.1", L"192.168.0.9", L"255.255.255.0"));
    EXPECT_FALSE(IsSameSubnet(L"192.168.1.1", L"192.168.0.9", L"255.255.255.0"));
}

TEST(SettingChecks, OkDecisionInStaticMode)
{
    AddressSettingInput base;
    base.address = base.startAddress = Ip(192, 168, 0, 5);
    base.mask = base.startMask = Ip(255, 255, 255, 0);
    base.gateway = base.startGateway = Ip(192, 168, 0, 1);
    base.mode = base.startMode = 1;
    base.pcAddress = L"192.168.0.2";
    struct Case { const char* what; void (*change)(AddressSettingInput&); std::vector<unsigned> msgs; bool restore; } cases[] = {
        {"unchanged", [](AddressSettingInput&) {}, {kStrNoChanges}, false},
        {"clock only", [](AddressSettingInput& i) { i.clockRequested = true; }, {}, false},
        {"pc address", [](AddressSettingInput& i) { i.address = Ip(192, 168, 0, 2); }, {kStrAddressConflict}, false},
        {"pc address and gateway", [](AddressSettingInput& i) { i.address = i.gateway = Ip(192, 168, 0, 2); },
         {kStrAddressConflict, kStrGatewayConflict}, false},
        {"gateway is address", [](AddressSettingInput& i) { i.gateway = i.address; }, {kStrGatewayConflict}, false},
        {"storage gateway is address", [](AddressSettingInput& i) { i.kind = 3; i.gateway = i.address; i.mode = 1; i.startMode = 0; },
         {}, false},
        {"mask", [](AddressSettingInput& i) { i.mask = Ip(255, 255, 255, 254); }, {kStrInvalidMask}, true},
        {"rule", [](AddressSettingInput& i) { i.address = Ip(192, 168, 0, 0); }, {kStrAddressIsNetwork}, true},
        {"good", [](AddressSettingInput& i) { i.address = Ip(192, 168, 0, 77); }, {}, false},
    };
    for (auto& c : cases) {
        AddressSettingInput in = base;
        c.change(in);
        AddressSettingResult r = DecideStaticSetting(in);
        EXPECT_EQ(r.messages, c.msgs) << c.what;
        EXPECT_EQ((std::vector<bool>{r.accept, r.restore}), (std::vector<bool>{c.msgs.empty(), c.restore})) << c.what;
    }
}

TEST(SettingChecks, NamesWorkgroupsAndTime)
{
    struct NameCase { const wchar_t* name; unsigned want; } names[] = {
        {L"NAS_01-a", 0}, {L"_x", 0}, {L"", kStrNameBadFirst}, {L"1NAS", kStrNameBadFirst},
        {L"NAS 1", kStrNameBadChar}, {L"ABCDEFGHIJKLMN", 0}, {L"ABCDEFGHIJKLMNO", kStrNameTooLong},
    };
    for (auto& c : names)
        EXPECT_EQ(CheckDeviceName(c.name), c.want) << c.name;
    // Checked in the code page the request carries the workgroup in.
    struct WgCase { const wchar_t* wg; unsigned cp, want; } wgs[] = {
        {L"", 1252, 0}, {L"WORKGROUP", 1252, 0}, {L"-WG", 1252, kStrWorkgroupBadFirst},
        {L"W G", 1252, kStrWorkgroupBadChar}, {L"W+G", 1252, kStrWorkgroupBadChar}, {L"W-G", 1252, 0},
        {L"ABCDEFGHIJKLMNOP", 1252, kStrWorkgroupTooLong}, {L"\x41E\x424\x418\x421", 1252, kStrWorkgroupBadChar},
        {L"\x958B\x767A", 932, kStrWorkgroupBadChar}, {L"\x55B6\x696D", 932, kStrWorkgroupBadChar},
        {L"WORKGROUP", 932, 0}, {L"\xFF37\xFF27", 1252, kStrWorkgroupBadChar},  // best fit would send "WG"
    };
    for (auto& c : wgs)
        EXPECT_EQ(CheckWorkgroup(c.wg, c.cp), c.want) << c.wg << " " << c.cp;

    // Shift-JIS: "\x8B\x40" is one character whose second byte is an at sign.
    auto sjis = [](unsigned char b) { return IsDBCSLeadByteEx(932, b) != FALSE; };
    struct Split { const char* text; const char* name; const char* wg; } splits[] = {
        {"NAS01@WORKGROUP", "NAS01", "WORKGROUP"}, {"NAS01?DOMAIN", "NAS01", "DOMAIN"}, {"NAS01", "", ""},
        {"@X?Y", "@X", "Y"}, {"\x8B\x40\x8D\xDE@WG", "\x8B\x40\x8D\xDE", "WG"}, {"N@W\x94", "N", "W"},
    };
    for (auto& s : splits) {
        std::string n, w;
        SplitNameAndWorkgroup(s.text, n, w, sjis);
        EXPECT_EQ((std::vector<std::string>{n, w}), (std::vector<std::string>{s.name, s.wg})) << s.text;
    }

    // A device clock's UTC fields seen from PCs in other zones (the runtime's TZ); the
    // device's clock is right unless `now` says otherwise.
    struct Zone {
        std::string saved = getenv("TZ") ? getenv("TZ") : "";
        ~Zone() { Set(saved); }
        void Set(const std::string& tz) const { _putenv(("TZ=" + tz).c_str()); _tzset(); }
    } zone;
    const std::time_t t = 1772962200;  // 2026-03-08 09:30:00 UTC, half an hour before US summer time
    struct Clock { const char* tz; int fields[6]; std::time_t now; const wchar_t* shown; bool setClock; } clocks[] = {
        {"IST-5:30", {2026, 3, 8, 9, 30, 0}, t, L"2026/03/08 15:00:00", false},
        {"NPT-5:45", {2026, 3, 8, 9, 30, 0}, t, L"2026/03/08 15:15:00", false},
        {"NST3:30", {2026, 3, 8, 9, 30, 0}, t, L"2026/03/08 06:00:00", false},
        {"JST-9", {2026, 3, 8, 9, 30, 0}, t + 360, L"2026/03/08 18:30:00", true},
        {"PST8PDT", {2026, 3, 8, 9, 30, 0}, t, L"2026/03/08 01:30:00", false},
        {"JST-9", {1970, 1, 1, 0, 0, 0}, t, L"1970/01/01 09:00:00", true},
    };
    for (auto& c : clocks) {
        zone.Set(c.tz);
        DeviceClock clock;
        const int* f = c.fields;
        EXPECT_TRUE(ReadDeviceClock(f[0], f[1], f[2], f[3], f[4], f[5], c.now, clock)) << c.tz;
        EXPECT_EQ(clock.text, c.shown) << c.tz;
        EXPECT_EQ(clock.setClock, c.setClock) << c.tz;
    }
    DeviceClock clock;
    EXPECT_TRUE(IsShowableDeviceTime(2038, 12, 31, 23, 59, 59));
    EXPECT_FALSE(ReadDeviceClock(2039, 1, 1, 0, 0, 0, t, clock));
    EXPECT_FALSE(ReadDeviceClock(2024, 13, 1, 0, 0, 0, t, clock));
}

TEST(DeviceRequests, AdvancedAnswers)
{
    // A modes list with mode 1, a count above 30, and a clock answer.
    DeviceRequestPacket a = {};
    a.text[3] = 2, a.text[4] = 0, a.text[5] = 3, a.text[6] = 0, a.text[7] = 1;
    AdvancedModesRecord modes;
    EXPECT_TRUE(ReadModesAnswer(a, modes));
    EXPECT_EQ(modes.modes[0], 3);
    a.text[3] = 31;
    EXPECT_FALSE(ReadModesAnswer(a, modes));
    const uint8_t clock[] = {0, 1, 1, 0x07, 0xE9, 2, 3, 4, 5, 6, 1, 10, 0, 0, 1};
    std::memcpy(a.text, clock, sizeof(clock));
    a.text[32] = 1;
    DeviceTimeRecord read;
    ReadTimeAnswer(a, read);
    // Sub-kind, year, second, time address, setting B.
    EXPECT_EQ((std::vector<uint32_t>{AdvancedSubKind(a), read.year, read.second, read.timeAddress, read.settingB}),
              (std::vector<uint32_t>{1, 2025, 6, 0x0A000001u, 1}));
}
