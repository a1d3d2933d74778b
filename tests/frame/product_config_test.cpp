#include "frame/ProductConfig.h"

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
    for (const wchar_t* on : {L"on", L"On", L"oN", L"ON"})
        EXPECT_EQ(IsOn(on), 1) << on;
    for (const wchar_t* off : {L"", L"off", L"yes", L"1", L" on", L"on ", L"onn", L"o"})
        EXPECT_EQ(IsOn(off), 0) << off;
}

TEST(ProductConfig, ModelIsRequiredFromTheBaseSection)
{
    Config cfg;
    cfg.base.clear();
    cfg.lang[L"Model"] = L"FromLanguage";
    cfg.lang[L"Dorvane"] = L"X";
    EXPECT_EQ(cfg.Read(false), 0);
    EXPECT_STREQ(cfg->Dorvane, L"");  // nothing after Model is read
    cfg.base[L"Model"] = L"DV-1";
    EXPECT_EQ(cfg.Read(false), 1);
    EXPECT_STREQ(cfg->Model, L"DV-1");
}

TEST(ProductConfig, LanguageTextWinsWhenNotEmpty)
{
    Config cfg;
    cfg.base[L"WebSetupIcon"] = L"base.ico";
    cfg.lang[L"WebSetupIcon"] = L"lang.ico";
    cfg.base[L"Guide_File"] = L"guide.exe";
    cfg.lang[L"Guide_File"] = L"";
    cfg.lang[L"ProductIcon"] = L"icons\\p.ico";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_STREQ(cfg->WebSetupIcon, L"lang.ico");
    EXPECT_EQ(cfg->WebSetupIconFlag, 1);
    EXPECT_STREQ(cfg->Guide_File, L"guide.exe");
    EXPECT_STREQ(cfg->ProductIcon, L"icons\\p.ico");
    EXPECT_EQ(cfg->ProductIconFlag, 1);
    EXPECT_STREQ(cfg->Vantry2Icon, L"");
    EXPECT_EQ(cfg->Vantry2IconFlag, 0);
    EXPECT_STREQ(cfg->Dorvane, L"HOLLIN");
}

TEST(ProductConfig, KeysAreMatchedWithTheirExactCase)
{
    Config cfg;
    cfg.base[L"dorvane"] = L"lower";
    cfg.base[L"show_ntp"] = L"on";
    cfg.base[L"MODEL"] = L"x";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_STREQ(cfg->Dorvane, L"HOLLIN");
    EXPECT_EQ(cfg->Show_NTP, 0);
}

TEST(ProductConfig, FlagFollowsANonEmptyLanguageValue)
{
    Config cfg;
    cfg.base[L"Show_Guide"] = L"ON";
    cfg.lang[L"Show_Guide"] = L"off";
    cfg.base[L"Show_NTP"] = L"yes";
    cfg.base[L"Show_Comment"] = L"on";
    cfg.lang[L"Show_Comment"] = L"";
    cfg.lang[L"Show_WorkGroup"] = L"On";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Guide, 0);
    EXPECT_EQ(cfg->Show_NTP, 0);
    EXPECT_EQ(cfg->Show_Comment, 1);
    EXPECT_EQ(cfg->Show_WorkGroup, 1);
}

TEST(ProductConfig, DetailFlagsNeedShowDetailSetting)
{
    Config cfg;
    cfg.base[L"Show_Category"] = L"on";
    cfg.base[L"Show_RecDirection"] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Category, 0);
    EXPECT_EQ(cfg->Show_RecDirection, 0);
    cfg.lang[L"Show_DetailSetting"] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Category, 1);
    EXPECT_EQ(cfg->Show_RecDirection, 1);
}

TEST(ProductConfig, UsbOnlyFlagsAndPowerSavingTexts)
{
    Config cfg;
    for (const wchar_t* key : {L"Show_DetailSetting", L"Show_FolderPublication", L"Show_AutoUpdate",
                               L"Show_DelRecRsvInfo", L"Show_LEDBrightness", L"Show_PowerSaving",
                               L"Show_DownloadFW", L"Show_SupportSoft", L"Show_USBStorage"})
        cfg.base[key] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->UsbMode, 0);
    EXPECT_EQ(cfg->Show_FolderPublication + cfg->Show_AutoUpdate + cfg->Show_DelRecRsvInfo +
                  cfg->Show_LEDBrightness + cfg->Show_PowerSaving + cfg->Show_DownloadFW, 0);
    EXPECT_STREQ(cfg->PowerSavingMenu, L"");
    EXPECT_STREQ(cfg->PowerSavingDefault, L"");
    EXPECT_EQ(cfg->Show_SupportSoft, 1);
    EXPECT_EQ(cfg->Show_USBStorage, 1);

    Config usb;
    usb.base = cfg.base;
    ASSERT_EQ(usb.Read(true), 1);
    EXPECT_EQ(usb->UsbMode, 1);
    EXPECT_EQ(usb->Show_FolderPublication + usb->Show_AutoUpdate + usb->Show_DelRecRsvInfo +
                  usb->Show_LEDBrightness + usb->Show_PowerSaving + usb->Show_DownloadFW, 6);
    EXPECT_STREQ(usb->PowerSavingMenu, L"21600");
    EXPECT_STREQ(usb->PowerSavingDefault, L"1800");
    EXPECT_EQ(usb->Show_SupportSoft, 0);
    EXPECT_EQ(usb->Show_USBStorage, 0);

    usb.base[L"Show_DetailSetting"] = L"off";
    usb.lang[L"PowerSavingDefault"] = L"600";
    ASSERT_EQ(usb.Read(true), 1);
    EXPECT_EQ(usb->Show_PowerSaving, 0);
    EXPECT_EQ(usb->Show_DownloadFW, 1);  // needs only USB-stick mode
    usb.base[L"Show_DetailSetting"] = L"on";
    ASSERT_EQ(usb.Read(true), 1);
    EXPECT_STREQ(usb->PowerSavingDefault, L"600");
}

TEST(ProductConfig, SupportSoftIgnoresTheLanguageSectionUsbStorageDoesNot)
{
    Config cfg;
    cfg.lang[L"Show_SupportSoft"] = L"on";
    cfg.lang[L"Show_USBStorage"] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_SupportSoft, 0);
    EXPECT_EQ(cfg->Show_USBStorage, 1);
    cfg.base[L"Show_SupportSoft"] = L"on";
    cfg.lang[L"Show_SupportSoft"] = L"off";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_SupportSoft, 1);
}

TEST(ProductConfig, FlagsNotReadAreResetOnASecondRead)
{
    Config cfg;
    cfg.base[L"Show_DetailSetting"] = L"on";
    cfg.base[L"Show_Category"] = L"on";
    ASSERT_EQ(cfg.Read(false), 1);
    ASSERT_EQ(cfg->Show_Category, 1);
    cfg.base[L"Show_DetailSetting"] = L"off";
    ASSERT_EQ(cfg.Read(false), 1);
    EXPECT_EQ(cfg->Show_Category, 0);
}

TEST(ProductConfig, FirmwareListComesFromTheBaseSectionInPairs)
{
    Config cfg;
    cfg.base[L"Show_DownloadFW"] = L"on";
    cfg.base[L"Fw_Url1"] = L"http://u1";
    cfg.base[L"Fw_Xml1"] = L"x1.xml";
    cfg.base[L"Fw_Xml2"] = L"x2.xml";
    cfg.base[L"Fw_Url10"] = L"http://u10";
    cfg.base[L"Fw_Url11"] = L"http://u11";
    cfg.lang[L"Fw_Url2"] = L"http://lang";
    ASSERT_EQ(cfg.Read(true), 1);
    EXPECT_STREQ(cfg->Firmware[0], L"http://u1");
    EXPECT_STREQ(cfg->Firmware[1], L"x1.xml");
    EXPECT_STREQ(cfg->Firmware[2], L"");
    EXPECT_STREQ(cfg->Firmware[3], L"x2.xml");
    EXPECT_STREQ(cfg->Firmware[18], L"http://u10");
    EXPECT_STREQ(cfg->Firmware[19], L"");

    LoadFirmwareList(*cfg.c, cfg.base);  // a second load does not double the values
    EXPECT_STREQ(cfg->Firmware[0], L"http://u1");

    Config off;
    off.base = cfg.base;
    off.base[L"Show_DownloadFW"] = L"off";
    ASSERT_EQ(off.Read(true), 1);
    EXPECT_STREQ(off->Firmware[0], L"");
}

TEST(ProductConfig, LongValuesAreCutToTheField)
{
    Config cfg;
    cfg.base[L"Model"] = std::wstring(300, L'm');
    cfg.base[L"Fw_Url1"] = std::wstring(600, L'u');
    cfg.base[L"Show_DownloadFW"] = L"on";
    // A surrogate pair across the cut is dropped whole.
    cfg.lang[L"Dorvane"] = std::wstring(258, L'd') + L"\xD83D\xDE00" + L"tail";
    ASSERT_EQ(cfg.Read(true), 1);
    EXPECT_EQ(std::wstring(cfg->Model), std::wstring(259, L'm'));
    EXPECT_EQ(std::wstring(cfg->Firmware[0]), std::wstring(515, L'u'));
    EXPECT_EQ(std::wstring(cfg->Dorvane), std::wstring(258, L'd'));
}
