// Product configuration values: section choice, flags, defaults and conditions.
#include "wizard/ProductConfig.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Config {
    std::unique_ptr<ProductConfig> c{new ProductConfig()};
    ConfigMap base{{L"Model", L"DV-1"}};
    ConfigMap lang;
    int Read(bool usb) { return ReadProductConfig(*c, base, lang, usb); }
    ProductConfig* operator->() { return c.get(); }
};

}  // namespace

TEST(ProductConfig, IsOnTakesOnlyOnInAnyCase)
{
    for (const wchar_t* on : {L"on", L"On", L"oN", L"ON"}) EXPECT_EQ(IsOn(on), 1) << on;
    for (const wchar_t* off : {L"", L"off", L"yes", L"1", L" on", L"on ", L"onn", L"o"})
        EXPECT_EQ(IsOn(off), 0) << off;
    EXPECT_EQ(IsOn(static_cast<const wchar_t*>(nullptr)), 0);
}

// A Model only in the language section is seen to fail the start in the end-to-end tests.
TEST(ProductConfig, NonEmptyLanguageTextWinsAndKeysMatchExactly)
{
    Config cfg;
    cfg.base.insert({{L"WebSetupIcon", L"base.ico"}, {L"Guide_File", L"guide.exe"}, {L"dorvane", L"wrong case"}});
    cfg.lang.insert({{L"WebSetupIcon", L"lang.ico"}, {L"Guide_File", L""}});
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_STREQ(cfg->WebSetupIcon, L"lang.ico");
    EXPECT_STREQ(cfg->Guide_File, L"guide.exe");
    EXPECT_STREQ(cfg->Dorvane, L"HOLLIN");
}

TEST(ProductConfig, FlagFollowsANonEmptyLanguageValue)
{
    // key, base value, language value (nullptr: absent), the flag, its value after the read
    struct { const wchar_t* key; const wchar_t* base; const wchar_t* lang; int ProductConfig::*flag; int want; } rows[] = {
        {L"Show_Guide", L"ON", L"off", &ProductConfig::Show_Guide, 0},
        {L"Show_NTP", L"yes", nullptr, &ProductConfig::Show_NTP, 0},
        {L"Show_Comment", L"on", L"", &ProductConfig::Show_Comment, 1},
        {L"Show_WorkGroup", nullptr, L"On", &ProductConfig::Show_WorkGroup, 1},
        {L"Show_USBStorage", nullptr, L"on", &ProductConfig::Show_USBStorage, 1},
        {L"Show_SupportSoft", nullptr, L"on", &ProductConfig::Show_SupportSoft, 1},
        {L"Show_SupportSoft", L"on", L"off", &ProductConfig::Show_SupportSoft, 0},
        {L"ProductIcon", nullptr, L"icons\\p.ico", &ProductConfig::ProductIconFlag, 1},  // any text is "on"
        {L"WebSetupIcon", L"base.ico", nullptr, &ProductConfig::WebSetupIconFlag, 1},
        {L"Vantry2Icon", nullptr, nullptr, &ProductConfig::Vantry2IconFlag, 0},
    };
    for (const auto& r : rows) {
        Config cfg;
        if (r.base)
            cfg.base[r.key] = r.base;
        if (r.lang)
            cfg.lang[r.key] = r.lang;
        ASSERT_EQ(cfg.Read(false), 1);
        EXPECT_EQ((*cfg.c).*r.flag, r.want) << r.key;
    }
}

TEST(ProductConfig, DetailFlagsNeedShowDetailSettingAndResetOnEveryRead)
{
    Config cfg;
    cfg.base.insert({{L"Show_Category", L"on"}, {L"Show_RecDirection", L"on"}});
    cfg.lang[L"Show_DetailSetting"] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Category + cfg->Show_RecDirection, 2);
    cfg.lang[L"Show_DetailSetting"] = L"off";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Category + cfg->Show_RecDirection, 0);
}

TEST(ProductConfig, ModeDecidesWhichFlagsAndPowerSavingTextsAreRead)
{
    Config normal, usb;
    for (const wchar_t* key : {L"Show_DetailSetting", L"Show_FolderPublication", L"Show_AutoUpdate",
                               L"Show_DelRecRsvInfo", L"Show_LEDBrightness", L"Show_PowerSaving",
                               L"Show_DownloadFW", L"Show_SupportSoft", L"Show_USBStorage"})
        normal.base[key] = usb.base[key] = L"on";
    ASSERT_EQ(normal.Read(false), 1);
    ASSERT_EQ(usb.Read(true), 1);
    EXPECT_EQ(normal->UsbMode, 0);
    EXPECT_EQ(usb->UsbMode, 1);
    for (auto flag : {&ProductConfig::Show_FolderPublication, &ProductConfig::Show_AutoUpdate,
                      &ProductConfig::Show_DelRecRsvInfo, &ProductConfig::Show_LEDBrightness,
                      &ProductConfig::Show_PowerSaving, &ProductConfig::Show_DownloadFW}) {
        EXPECT_EQ((*normal.c).*flag, 0);
        EXPECT_EQ((*usb.c).*flag, 1);
    }
    EXPECT_EQ(normal->Show_SupportSoft + normal->Show_USBStorage, 2);
    EXPECT_EQ(usb->Show_SupportSoft + usb->Show_USBStorage, 0);
    EXPECT_EQ(std::wstring(normal->PowerSavingMenu) + L"|" + normal->PowerSavingDefault, L"|");
    EXPECT_EQ(std::wstring(usb->PowerSavingMenu) + L"|" + usb->PowerSavingDefault, L"21600|1800");

    usb.base[L"Show_DetailSetting"] = L"off";
    ASSERT_EQ(usb.Read(true), 1);
    EXPECT_EQ(usb->Show_PowerSaving, 0);
    EXPECT_EQ(usb->Show_DownloadFW, 1);  // needs only USB-stick mode
}

TEST(ProductConfig, FirmwareListComesFromTheBaseSectionInPairs)
{
    Config cfg;
    cfg.base.insert({{L"Show_DownloadFW", L"on"}, {L"Fw_Url1", L"http://u1"}, {L"Fw_Xml1", L"x1.xml"},
                     {L"Fw_Xml2", L"x2.xml"}, {L"Fw_Url10", L"http://u10"}, {L"Fw_Url11", L"http://u11"}});
    cfg.lang[L"Fw_Url2"] = L"http://lang";
    ASSERT_EQ(cfg.Read(true), 1);
    const wchar_t* want[] = {L"http://u1", L"x1.xml", L"", L"x2.xml"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(cfg->Firmware[i], want[i]) << i;
    EXPECT_STREQ(cfg->Firmware[18], L"http://u10");
    EXPECT_STREQ(cfg->Firmware[19], L"");
    LoadFirmwareList(*cfg.c, cfg.base);  // a second load does not double the values
    EXPECT_STREQ(cfg->Firmware[0], L"http://u1");
}

TEST(ProductConfig, LongValuesAreCutToTheField)
{
    Config cfg;
    cfg.base = {{L"Model", std::wstring(300, L'm')}, {L"Fw_Url1", std::wstring(600, L'u')}, {L"Show_DownloadFW", L"on"}};
    // A surrogate pair across the cut is dropped whole.
    cfg.lang[L"Dorvane"] = std::wstring(258, L'd') + L"\xD83D\xDE00" + L"tail";
    ASSERT_EQ(cfg.Read(true), 1);
    EXPECT_EQ(std::wstring(cfg->Model), std::wstring(259, L'm'));
    EXPECT_EQ(std::wstring(cfg->Firmware[0]), std::wstring(515, L'u'));
    EXPECT_EQ(std::wstring(cfg->Dorvane), std::wstring(258, L'd'));
}
