// The device settings record: defaults, validation and address texts.
#include "wizard/DeviceSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(DeviceSettings, TimestampIsFourteenDigitsOfNow)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::wstring ts = FormatTimestamp();
    ASSERT_EQ(ts.size(), 14u);
    EXPECT_EQ(ts.find_first_not_of(L"0123456789"), std::wstring::npos) << ts;
    EXPECT_EQ(std::stoi(ts.substr(0, 4)), t.wYear);
    EXPECT_EQ(std::stoi(ts.substr(4, 2)), t.wMonth);
}

TEST(DeviceSettings, DottedQuadParsingAndFormatting)
{
    EXPECT_EQ(ParseDottedQuad(L"192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(ParseDottedQuad(L"10.0.0.2 trailing"), 0x0A000002u);
    EXPECT_EQ(ParseDottedQuad(L"1.2.2.256"), 0x01020300u);  // no range test: bits carry left
    EXPECT_EQ(ParseDottedQuad(L"1.2.3.-1"), 0xFFFFFFFFu);
    for (const wchar_t* bad : {L"0.0.0.0", L"1.2.3", L"", L"a.b.c.d"})
        EXPECT_EQ(IsValidIpText(bad), 0) << bad;
    EXPECT_EQ(ParseDottedQuad(static_cast<const wchar_t*>(nullptr)), 0u);
    EXPECT_EQ(FormatIPv4(0xC0A80001u), L"192.168.0.1");
    EXPECT_EQ(FormatIPv4(0xFFFFFFFFu), L"255.255.255.255");
}

TEST(DeviceSettings, SettingsFileLiesInTheDriveRoot)
{
    EXPECT_EQ(SettingsFilePathFor(L"X:\\setup\\Pellgrove.exe"), L"X:\\Pellgrove.ini");
    EXPECT_EQ(SettingsFilePathFor(L"X:\\PellgroveUSB.exe"), L"X:\\PellgroveUSB.ini");
    EXPECT_EQ(SettingsFilePathFor(L"X:\\a\\b\\my.setup.exe"), L"X:\\my.setup.ini");
}

TEST(DeviceSettings, ValidateRulesInOrder)
{
    struct Case {
        std::wstring CDeviceSettings::*field;
        const wchar_t* value;
        int valid;
    } cases[] = {
        {&CDeviceSettings::name, L"", 0},
        {&CDeviceSettings::workgroup, L"", 0},
        {&CDeviceSettings::ip, L"", 1},  // dhcp on: no address needed
        {&CDeviceSettings::dhcp, L"On", 0},
        {&CDeviceSettings::dhcp, L"", 0},
        {&CDeviceSettings::ntp, L"yes", 0},
        {&CDeviceSettings::ntpdaily, L"", 0},
        {&CDeviceSettings::ntpboot, L"ON", 0},
        {&CDeviceSettings::led, L"bad", 1},  // not validated
        {&CDeviceSettings::ntpserver, L"", 1},
    };
    for (const Case& c : cases) {
        CDeviceSettings s;
        s.name = L"DV1";
        ASSERT_EQ(s.Validate(), 1);  // the defaults with a name are valid
        s.*c.field = c.value;
        EXPECT_EQ(s.Validate(), c.valid) << c.value;
    }
}

TEST(DeviceSettings, ValidateAddressesWithoutDhcpAndClockSources)
{
    CDeviceSettings s;
    s.name = L"DV1";
    s.dhcp = L"off";
    s.ip = L"192.168.0.10";
    EXPECT_EQ(s.Validate(), 0);  // empty netmask
    s.netmask = L"255.255.255.0";
    EXPECT_EQ(s.Validate(), 1);
    s.ip = L"0.0.0.0";
    EXPECT_EQ(s.Validate(), 0);
    s.ip = L"192.168.0.10";

    s.ntpboot = s.ntpdaily = L"off";
    EXPECT_EQ(s.Validate(), 0);  // ntp on needs one source
    s.ntp = L"off";
    EXPECT_EQ(s.Validate(), 1);
    s.ntp = L"on";
    s.ntpdaily = L"on";
    EXPECT_EQ(s.Validate(), 1);
}
