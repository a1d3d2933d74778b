#include "wizard/DeviceSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>

TEST(DeviceSettings, DefaultsAreTheDocumentedOnes)
{
    CDeviceSettings s;
    s.kind = 0;
    s.comment = L"x";
    s.SetDefaults();
    EXPECT_EQ(s.kind, 1);
    EXPECT_EQ(s.name, L"");
    EXPECT_EQ(s.comment, L"Dorvane series");
    EXPECT_EQ(s.workgroup, L"WORKGROUP");
    EXPECT_EQ(s.dhcp, L"on");
    EXPECT_EQ(s.ntp, L"on");
    EXPECT_EQ(s.ntpserver, kDefaultNtpServer);
    EXPECT_FALSE(s.ntpserver.empty());
    EXPECT_EQ(s.ntpboot, L"on");
    EXPECT_EQ(s.ntpdaily, L"off");
    EXPECT_EQ(s.led, L"3");
    EXPECT_EQ(s.spindown, L"1800");
    EXPECT_EQ(s.category, L"english");
    EXPECT_EQ(s.recpreserve, L"hdd");
    EXPECT_EQ(s.timestamp.size(), 14u);
}

TEST(DeviceSettings, TimestampIsFourteenDigitsOfNow)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::wstring ts = FormatTimestamp();
    ASSERT_EQ(ts.size(), 14u);
    for (wchar_t c : ts)
        EXPECT_TRUE(iswdigit(c)) << ts;
    EXPECT_EQ(std::stoi(ts.substr(0, 4)), t.wYear);
    EXPECT_EQ(std::stoi(ts.substr(4, 2)), t.wMonth);
}

TEST(DeviceSettings, ParseDottedQuadAsStated)
{
    EXPECT_EQ(ParseDottedQuad(L"192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(ParseDottedQuad(L"0.0.0.0"), 0u);
    EXPECT_EQ(ParseDottedQuad(L"1.2.3"), 0u);
    EXPECT_EQ(ParseDottedQuad(L""), 0u);
    EXPECT_EQ(ParseDottedQuad(nullptr), 0u);
    EXPECT_EQ(ParseDottedQuad(L"a.b.c.d"), 0u);
    EXPECT_EQ(ParseDottedQuad(L"10.0.0.2 trailing"), 0x0A000002u);
    EXPECT_EQ(ParseDottedQuad(L"1.2.2.256"), 0x01020300u);  // no range test: carries left
    EXPECT_EQ(ParseDottedQuad(L"1.2.3.-1"), 0xFFFFFFFFu);
    EXPECT_EQ(IsValidIpText(L"0.0.0.0"), 0);
    EXPECT_EQ(IsValidIpText(L"255.255.255.0"), 1);
}

TEST(DeviceSettings, FormatIPv4MostSignificantFirst)
{
    EXPECT_EQ(FormatIPv4(0xC0A80001u), L"192.168.0.1");
    EXPECT_EQ(FormatIPv4(0xFFFFFFFFu), L"255.255.255.255");
    EXPECT_EQ(FormatIPv4(0), L"0.0.0.0");
    EXPECT_EQ(FormatIPv4(ParseDottedQuad(L"10.231.5.77")), L"10.231.5.77");
}

TEST(DeviceSettings, SettingsFileLiesInTheDriveRoot)
{
    EXPECT_EQ(SettingsFilePathFor(L"X:\\setup\\Pellgrove.exe"), L"X:\\Pellgrove.ini");
    EXPECT_EQ(SettingsFilePathFor(L"X:\\PellgroveUSB.exe"), L"X:\\PellgroveUSB.ini");
    EXPECT_EQ(SettingsFilePathFor(L"X:\\a\\b\\my.setup.exe"), L"X:\\my.setup.ini");
}

namespace {
CDeviceSettings Valid()
{
    CDeviceSettings s;
    s.name = L"DV1";
    return s;
}
}  // namespace

TEST(DeviceSettings, ValidateNeedsNameAndWorkgroup)
{
    EXPECT_EQ(Valid().Validate(), 1);
    CDeviceSettings s = Valid();
    s.name.clear();
    EXPECT_EQ(s.Validate(), 0);
    s = Valid();
    s.workgroup.clear();
    EXPECT_EQ(s.Validate(), 0);
}

TEST(DeviceSettings, ValidateChecksAddressesOnlyWithoutDhcp)
{
    CDeviceSettings s = Valid();
    s.ip.clear();
    EXPECT_EQ(s.Validate(), 1);  // dhcp on: ip not needed
    s.dhcp = L"off";
    s.ip = L"192.168.0.10";
    s.netmask = L"";
    EXPECT_EQ(s.Validate(), 0);
    s.netmask = L"255.255.255.0";
    EXPECT_EQ(s.Validate(), 1);
    s.ip = L"0.0.0.0";
    EXPECT_EQ(s.Validate(), 0);
    s = Valid();
    s.dhcp = L"On";
    EXPECT_EQ(s.Validate(), 0);
    s.dhcp = L"";
    EXPECT_EQ(s.Validate(), 0);
}

TEST(DeviceSettings, ValidateClockSettings)
{
    CDeviceSettings s = Valid();
    s.ntpboot = L"off";
    s.ntpdaily = L"off";
    EXPECT_EQ(s.Validate(), 0);  // ntp on needs one of them
    s.ntp = L"off";
    EXPECT_EQ(s.Validate(), 1);
    s.ntp = L"on";
    s.ntpdaily = L"on";
    EXPECT_EQ(s.Validate(), 1);
    s.ntpboot = L"ON";
    EXPECT_EQ(s.Validate(), 0);
    s = Valid();
    s.ntp = L"yes";
    EXPECT_EQ(s.Validate(), 0);
    s = Valid();
    s.ntpdaily = L"";
    EXPECT_EQ(s.Validate(), 0);
    s = Valid();
    s.led = L"bad";
    s.spindown = L"bad";
    s.ntpserver.clear();
    EXPECT_EQ(s.Validate(), 1);  // not validated
}
