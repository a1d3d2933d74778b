// The settings page driven through window messages from a second thread, as a user would:
// every check of its OK, field by field, with the messages it shows and what it stores; its
// texts whole in both modes and the four languages.
#include "afx/ResourceLanguage.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_Quick.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupState.h"
#include "tests/support/ProgramRun.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <functional>
#include <vector>

namespace {

CPellgroveApp g_app;

std::wstring S(UINT id) { return afx::LoadStr(id); }
std::wstring Max(int n) { return FormatArg(S(IDS_MAX_CHARS), std::to_wstring(n)); }

constexpr long long kBlank = -1;  // an address control left blank

// One OK press: the texts typed (nullptr: the valid default), the address fields, and the
// messages expected in order (none: the page ends completed).
struct OkCase {
    const wchar_t* name;
    const wchar_t* comment;
    const wchar_t* workgroup;
    const wchar_t* server;
    std::vector<std::wstring> messages;
    long long ip = kBlank, mask = kBlank, gateway = kBlank, dns = kBlank;  // static address when ip or mask is given
};

// What the page's OK stores into the record.
std::wstring Stored(const CDeviceSettings& r)
{
    return r.name + L"|" + r.comment + L"|" + r.workgroup + L"|" + r.ntp + L"|" + r.ntpserver + L"|" + r.dhcp + L"|" +
           r.ip + L"|" + r.netmask + L"|" + r.gateway + L"|" + r.nameserver;
}

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        afx::SetResourceLanguage(1033);
        g_productConfig = ProductConfig{};
        wcscpy(g_productConfig.Model, L"DV-N210");
        g_productConfig.Show_Comment = g_productConfig.Show_WorkGroup = g_productConfig.Show_NTP = 1;
    }
    INT_PTR Run(const std::function<void(HWND)>& drive)
    {
        CPellgroveDialog_Quick page(nullptr, &m_rect);
        page.m_pContext = &m_context;
        return RunDriven(page, drive, IDC_QUICK_CANCEL);
    }
    // Presses OK with the case's entries; the messages shown, in order.
    std::vector<std::wstring> PressOk(HWND page, const OkCase& c)
    {
        ::SetDlgItemTextW(page, IDC_NAME, c.name ? c.name : L"STORE1");
        ::SetDlgItemTextW(page, IDC_COMMENT, c.comment ? c.comment : L"Dorvane series");
        ::SetDlgItemTextW(page, IDC_WORKGROUP, c.workgroup ? c.workgroup : L"WORKGROUP");
        ::SetDlgItemTextW(page, IDC_TIME_SERVER, c.server ? c.server : L"pool.ntp.org");
        bool fixed = c.ip != kBlank || c.mask != kBlank;
        ::SendDlgItemMessageW(page, fixed ? IDC_DHCP_STATIC : IDC_DHCP_AUTO, BM_CLICK, 0, 0);
        const std::pair<int, long long> fields[] = {{IDC_IP_ADDRESS, c.ip}, {IDC_IP_MASK, c.mask},
                                                    {IDC_IP_GATEWAY, c.gateway}, {IDC_IP_DNS, c.dns}};
        for (const auto& f : fields)
            ::SendDlgItemMessageW(page, f.first, f.second != kBlank ? IPM_SETADDRESS : IPM_CLEARADDRESS, 0,
                                  LPARAM(DWORD(f.second)));
        ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return AnswerMessageBoxes(page, 700);
    }
    // A refused OK stores nothing at all.
    void Expect(const std::vector<OkCase>& cases)
    {
        for (const OkCase& c : cases) {
            m_context.settings = CDeviceSettings();
            const std::wstring before = Stored(m_context.settings);
            bool ended = false;
            INT_PTR result = Run([&](HWND page) {
                EXPECT_EQ(PressOk(page, c), c.messages) << (c.name ? c.name : L"-");
                ended = !::IsWindow(page);
            });
            EXPECT_EQ(result, c.messages.empty() ? IDOK : 11);
            EXPECT_EQ(ended, c.messages.empty());
            EXPECT_TRUE(ended || Stored(m_context.settings) == before) << (c.name ? c.name : L"-");
        }
    }
    QuickSetupContext m_context;
    RECT m_rect = {};
};

constexpr DWORD Ip(DWORD a, DWORD b, DWORD c, DWORD d) { return a << 24 | b << 16 | c << 8 | d; }
const DWORD kIp = Ip(192, 168, 1, 20), kMask = Ip(255, 255, 255, 0);

}  // namespace

TEST_F(SettingsPage, DeviceName)
{
    Expect({{L"-abc", nullptr, nullptr, nullptr, {S(IDS_NAME_ILLEGAL), S(IDS_HEADING_HYPHEN)}},
            {L"-a c", nullptr, nullptr, nullptr, {S(IDS_NAME_ILLEGAL), S(IDS_HEADING_HYPHEN)}},
            {L"1abc", nullptr, nullptr, nullptr, {S(IDS_NAME_ILLEGAL), S(IDS_HEADING_DIGIT)}},
            {L"ab c", nullptr, nullptr, nullptr, {S(IDS_NAME_ILLEGAL), S(IDS_UNAVAILABLE_CHARS)}},
            {L"", nullptr, nullptr, nullptr, {S(IDS_NAME_ILLEGAL), S(IDS_ILLEGAL_LENGTH)}},
            {L"ABCDEFGHIJKLMNO", nullptr, nullptr, nullptr, {Max(14)}},
            {L"A_b-9CDEFGHIJK", nullptr, nullptr, nullptr, {}}});
}

TEST_F(SettingsPage, CommentAndWorkgroup)
{
    Expect({{nullptr, L"1st floor", nullptr, nullptr, {S(IDS_COMMENT_ILLEGAL), S(IDS_HEADING_DIGIT)}},
            {nullptr, L"", nullptr, nullptr, {S(IDS_COMMENT_ILLEGAL), S(IDS_ILLEGAL_LENGTH)}},
            {nullptr, L"a~b", nullptr, nullptr, {S(IDS_COMMENT_ILLEGAL), S(IDS_UNAVAILABLE_CHARS)}},
            {nullptr, std::wstring(49, L'c').c_str(), nullptr, nullptr, {Max(48)}},
            {nullptr, L"Hall (2nd), rack #3; 50% full", nullptr, nullptr, {}},
            {nullptr, nullptr, L"", nullptr, {S(IDS_WORKGROUP_ILLEGAL), S(IDS_ILLEGAL_LENGTH)}},
            {nullptr, nullptr, L"WORKGROUPSOLONGX", nullptr, {Max(15)}},
            {nullptr, nullptr, L"WORK_GROUP", nullptr, {}}});
    wcscpy(g_productConfig.Model, L"QMX-T");
    Expect({{nullptr, nullptr, L"WORK_GROUP", nullptr, {S(IDS_WORKGROUP_ILLEGAL), S(IDS_UNAVAILABLE_CHARS)}}});
}

TEST_F(SettingsPage, TimeServer)
{
    Expect({{nullptr, nullptr, nullptr, L"ntp server", {S(IDS_NTP_SERVER_ILLEGAL), S(IDS_UNAVAILABLE_CHARS)}},
            {nullptr, nullptr, nullptr, std::wstring(31, L'n').c_str(), {S(IDS_NTP_SERVER_ILLEGAL), S(IDS_ILLEGAL_LENGTH)}},
            {nullptr, nullptr, nullptr, L"", {}},
            {nullptr, nullptr, nullptr, L"-1.time-a.example", {}}});
}

TEST_F(SettingsPage, Addresses)
{
    Expect({{nullptr, nullptr, nullptr, nullptr, {S(IDS_IP_BROADCAST)}, Ip(192, 168, 1, 255), kMask},
            {nullptr, nullptr, nullptr, nullptr, {S(IDS_ENTER_IP)}, 0, kMask},  // four zero fields
            {nullptr, nullptr, nullptr, nullptr, {S(IDS_ENTER_MASK)}, kIp},
            {nullptr, nullptr, nullptr, nullptr, {S(IDS_GATEWAY_BROADCAST)}, kIp, kMask, Ip(192, 168, 1, 255)},
            {nullptr, nullptr, nullptr, nullptr, {S(IDS_DNS_BROADCAST)}, kIp, kMask, kBlank, Ip(8, 8, 4, 255)},
            {nullptr, nullptr, nullptr, nullptr, {}, kIp, kMask, kBlank, Ip(192, 168, 1, 1)}});
    EXPECT_EQ(Stored(m_context.settings),
              L"STORE1|Dorvane series|WORKGROUP|on|pool.ntp.org|off|192.168.1.20|255.255.255.0||192.168.1.1");
    Expect({{L"STORE9", nullptr, nullptr, nullptr, {}}});
    EXPECT_EQ(Stored(m_context.settings), L"STORE9|Dorvane series|WORKGROUP|on|pool.ntp.org|on||||");
    g_productConfig.UsbMode = 1;
    Expect({{nullptr, nullptr, nullptr, nullptr, {S(IDS_ENTER_MASK)}, kIp}});
}

// USB-stick mode: no comment or workgroup, an empty name is stored, and each option's text.
TEST_F(SettingsPage, UsbModeStoresTheOptions)
{
    ProductConfig& c = g_productConfig;
    c.UsbMode = c.Show_DetailSetting = c.Show_Category = c.Show_RecDirection = c.Show_LEDBrightness = 1;
    c.Show_PowerSaving = c.Show_AutoUpdate = c.Show_FolderPublication = c.Show_DelRecRsvInfo = 1;
    wcscpy(c.PowerSavingMenu, L"21600");
    m_context.settings.spindown = L"3600";
    m_context.settings.name = L"";
    INT_PTR result = Run([&](HWND page) {
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_POWER_SAVING, CB_GETCURSEL, 0, 0), 4);
        for (int id : {IDC_LED_MID, IDC_CATEGORY_ENGLISH, IDC_PLACE_CARTRIDGE, IDC_SHARE_INVALID,
                       IDC_DELETE_RESERVATION, IDC_NTP_INVALID})
            ::SendDlgItemMessageW(page, id, BM_CLICK, 0, 0);
        ::SendDlgItemMessageW(page, IDC_POWER_SAVING, CB_SETCURSEL, 0, 0);
        ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(AnswerMessageBox(page, IDOK, 700), L"");
    });
    EXPECT_EQ(result, IDOK);
    const CDeviceSettings& r = m_context.settings;
    EXPECT_EQ(r.name + L"|" + r.led + L"|" + r.category + L"|" + r.recpreserve + L"|" + r.share + L"|" +
                  r.resrecdel + L"|" + r.spindown + L"|" + r.autoupdate + L"|" + r.ntp,
              L"|1|english|cartridge|off|on|off|on|off");
}

// Every row either mode can show, in each language.
TEST_F(SettingsPage, EveryTextWholeInBothModesAndTheFourLanguages)
{
    for (LANGID lang : {LANGID(1033), LANGID(1041), LANGID(1028), LANGID(2052)}) {
        afx::SetResourceLanguage(lang);
        for (int usb : {0, 1}) {
            // Normal mode shows at most the category and place rows of the option block.
            ProductConfig& c = g_productConfig;
            c.Show_DetailSetting = c.Show_Category = c.Show_RecDirection = 1;
            c.UsbMode = c.Show_LEDBrightness = c.Show_PowerSaving = c.Show_AutoUpdate = c.Show_FolderPublication =
                c.Show_DelRecRsvInfo = usb;
            Run([&](HWND page) {
                const std::vector<std::string> unfit = UnfitTexts(page);
                EXPECT_TRUE(unfit.empty()) << lang << (usb ? " USB" : "") << "\n" << Lines(unfit);
                SaveWindowShot(page, (usb ? L"settings_usb_" : L"settings_page_") + std::to_wstring(lang));
                Press(page, IDC_QUICK_CANCEL);
            });
        }
    }
}

// USB-stick mode: the name stays as read until the change check is ticked and the question answered Yes.
TEST_F(SettingsPage, UsbModeAsksBeforeTheNameChanges)
{
    g_productConfig.UsbMode = 1;
    wcscpy(g_productConfig.Dorvane, L"HOLLIN");
    StoreDeviceName(L"");
    m_context.settings.name = L"";
    Run([&](HWND page) {
        HWND name = ::GetDlgItem(page, IDC_NAME);
        EXPECT_FALSE(::IsWindowEnabled(name));
        const std::wstring question = FormatArg(S(IDS_CHANGE_NAME_QUESTION), L"HOLLIN");
        ::PostMessageW(::GetDlgItem(page, IDC_CHANGE_NAME), BM_CLICK, 0, 0);
        EXPECT_EQ(AnswerMessageBox(page, IDNO), question);
        ::SendMessageW(page, WM_NULL, 0, 0);  // returns once the click's handler has finished
        EXPECT_EQ(::IsDlgButtonChecked(page, IDC_CHANGE_NAME), UINT(BST_UNCHECKED));
        EXPECT_FALSE(::IsWindowEnabled(name));
        ::PostMessageW(::GetDlgItem(page, IDC_CHANGE_NAME), BM_CLICK, 0, 0);
        EXPECT_EQ(AnswerMessageBox(page, IDYES), question);
        ::SendMessageW(page, WM_NULL, 0, 0);
        EXPECT_TRUE(::IsWindowEnabled(name));
        EXPECT_EQ(ItemText(page, IDC_NAME), L"DV-N210") << "the model fills an empty name";
    });
}

// A radio group's value counts its radio buttons only; on the page the automatic-update group
// ends before the reservation row's check box, in every language.
static INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(SettingsPageRadios, GroupsCountRadioButtonsOnly)
{
    afx::CWnd parent(::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    int value = 1, id = 100;
    for (DWORD style : {BS_AUTORADIOBUTTON | WS_GROUP, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_AUTOCHECKBOX | WS_GROUP})
        ::CreateWindowW(L"BUTTON", L"", WS_CHILD | style, 0, 0, 9, 9, parent, HMENU(INT_PTR(id++)), nullptr, nullptr);
    afx::CDataExchange load(&parent, false), save(&parent, true);
    ::CheckDlgButton(parent, 101, BST_CHECKED);
    DDX_Radio(&save, 100, value);
    EXPECT_EQ(value, -1) << "the check box is no choice of the group";
    DDX_Radio(&load, 100, value = 1);
    EXPECT_EQ(::IsDlgButtonChecked(parent, 102), UINT(BST_CHECKED));
    ::DestroyWindow(parent);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&icc);
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        afx::SetResourceLanguage(lang);
        HWND page = ::CreateDialogIndirectParamW(nullptr, afx::LoadDialogTemplate(IDD_PELLGROVE_QUICK), nullptr,
                                                 PlainDialog, 0);
        HWND next = ::GetWindow(::GetDlgItem(page, IDC_AUTOUPDATE_INVALID), GW_HWNDNEXT);
        EXPECT_TRUE(next && (::GetWindowLongW(next, GWL_STYLE) & WS_GROUP)) << lang;
        ::DestroyWindow(page);
    }
    afx::SetResourceLanguage(1033);
}
