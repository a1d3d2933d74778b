// The USB-stick confirmation page driven through window messages: the values in words, the
// rows it places, every text whole in the four languages, the firmware check that turns the
// automatic update on, and its completion.
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_QuickConfirm_Usb.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"
#include <gtest/gtest.h>

namespace {

CPellgroveApp g_app;

class UsbPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        afx::SetResourceLanguage(1033);
        g_productConfig = ProductConfig{};
        g_productConfig.UsbMode = g_productConfig.Show_NTP = g_productConfig.Show_DetailSetting =
            g_productConfig.Show_DownloadFW = 1;
        m_context.paths.settingsFilePath = m_dir / L"PellgroveUSB.ini";
        CDeviceSettings& r = m_context.settings;
        StoreDeviceName((r.name = L"STICK1").c_str());
        r.dhcp = r.autoupdate = L"off";
        r.led = L"3";
        r.spindown = L"900";
        r.category = L"japanese";
        r.recpreserve = L"cartridge";
    }
    INT_PTR Run(const std::function<void(HWND)>& drive)
    {
        CPellgroveDialog_QuickConfirm_Usb page(nullptr, &m_rect);
        page.m_pContext = &m_context;
        return RunDriven(page, drive);
    }
    static std::wstring S(UINT id) { return afx::LoadStr(id); }
    TempDir m_dir;
    QuickSetupContext m_context;
    RECT m_rect = {};
};

}  // namespace

TEST_F(UsbPage, ValuesInWordsAndTheFirmwareCheckTurnsTheAutomaticUpdateOn)
{
    int* flags[] = {&g_productConfig.Show_FolderPublication, &g_productConfig.Show_AutoUpdate,
                    &g_productConfig.Show_DelRecRsvInfo, &g_productConfig.Show_LEDBrightness,
                    &g_productConfig.Show_PowerSaving, &g_productConfig.Show_Category, &g_productConfig.Show_RecDirection,
                    &g_productConfig.Show_ShortCut, &g_productConfig.Show_ManualCopy};
    for (int* flag : flags) *flag = 1;
    // Every row in words, the addresses about as long as they come.
    CDeviceSettings& r = m_context.settings;
    r.ip = L"192.168.100.200";
    r.netmask = L"255.255.255.0";
    r.gateway = L"192.168.100.254";
    r.nameserver = L"192.168.100.253";
    r.ntp = L"on";
    r.ntpserver = L"ntp.jst.mfeed.ad.jp";
    for (LANGID lang : {LANGID(1033), LANGID(1041), LANGID(1028), LANGID(2052)}) {
        SCOPED_TRACE(lang);
        afx::SetResourceLanguage(lang);
        m_context.settings.autoupdate = L"off";
        std::wstring asked;
        Run([&](HWND page) {
            const std::pair<UINT, UINT> shown[] = {{IDC_NAME, IDS_NAME_UNCHANGED}, {IDC_USB_LED, IDS_LED_BRIGHT},
                                                   {IDC_USB_POWER_SAVING, IDS_POWER_NONE},
                                                   {IDC_USB_CATEGORY, IDS_CATEGORY_JAPANESE},
                                                   {IDC_USB_PLACE, IDS_PLACE_CARTRIDGE},
                                                   {IDC_USB_AUTOUPDATE, IDS_ADAPTER_DHCP_INVALID}};
            for (const auto& [id, text] : shown) EXPECT_EQ(ItemText(page, int(id)), S(text)) << id;
            ::PostMessageW(::GetDlgItem(page, IDC_CONFIRM_DOWNLOAD_FW), BM_CLICK, 0, 0);
            asked = AnswerMessageBox(page);
            EXPECT_EQ(ItemText(page, IDC_USB_AUTOUPDATE), S(IDS_ADAPTER_DHCP_VALID));
            const std::vector<std::string> unfit = UnfitTexts(page);
            EXPECT_TRUE(unfit.empty()) << Lines(unfit);
            SaveWindowShot(page, L"usb_confirm_" + std::to_wstring(lang));
        });
        EXPECT_EQ(asked, L"自動アップデート機能をonにします。");
        EXPECT_EQ(m_context.settings.autoupdate, L"on");
        EXPECT_EQ(ProfileValue(m_context.paths.settingsFilePath, L"pellgrove", L"autoupdate"), L"on")
            << "written at once";
    }
    afx::SetResourceLanguage(1033);

    // Already on: no question and no write.
    ASSERT_TRUE(::DeleteFileW(m_context.paths.settingsFilePath.c_str()));
    Run([&](HWND page) {
        ::PostMessageW(::GetDlgItem(page, IDC_CONFIRM_DOWNLOAD_FW), BM_CLICK, 0, 0);
        EXPECT_EQ(FindMessageBox(page, 500), nullptr);
    });
    EXPECT_EQ(::GetFileAttributesW(m_context.paths.settingsFilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UsbPage, CompletionDownloadsOnlyWhenTicked)
{
    for (bool ticked : {false, true}) {
        bool downloadShown = false;
        INT_PTR result = Run([&](HWND page) {
            if (ticked)
                ::PostMessageW(::GetDlgItem(page, IDC_CONFIRM_DOWNLOAD_FW), BM_CLICK, 0, 0);
            AnswerMessageBox(page, IDOK, ticked ? 5000 : 0);  // the automatic update notice
            Press(page, IDOK);
            // The download dialog, owned by the page: an empty list fails at once, then OK.
            for (int i = 0; i < 100 && ::IsWindow(page); ++i, ::Sleep(50)) {
                HWND owned = ::FindWindowW(L"#32770", L"firmware  download");
                if (owned && ::IsWindowEnabled(::GetDlgItem(owned, IDOK))) {
                    downloadShown = true;
                    EXPECT_EQ(ItemText(owned, IDC_FW_STATUS), S(IDS_FIRMWARE_PART_FAILED));
                    Press(owned, IDOK);
                }
            }
        });
        EXPECT_EQ(result, kPageCompleted);
        EXPECT_EQ(downloadShown, ticked);
    }
}
