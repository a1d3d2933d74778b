// The IPv4 entry control in a dialog, driven by real keystrokes and by its data exchange; the
// setting and logon dialogs with every text whole in the four languages.
#include "afx/DataExchange.h"
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/DeviceSettingDlg.h"
#include "netsetter/IPAddrCtl.h"
#include "netsetter/LoginPasswordDlg.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/QuentariState.h"
#include "netsetter/SettingRes.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TextFit.h"
#include <gtest/gtest.h>
#include <imm.h>
#include <algorithm>
#include <cstring>
#include <future>
#include <vector>

namespace {

class AddressDlg : public afx::CDialog {
public:
    AddressDlg() : afx::CDialog(100) {}
    uint16_t m_octets[4] = {};
    std::vector<std::wstring> m_messages;
    int m_nCancels = 0;
    HWND Field(int control, int n) const { return ::GetDlgItem(GetDlgItem(UINT(control)), n); }

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override { DDX_IPAddress(pDX, 101, m_octets); }
    void OnCancel() override { ++m_nCancels; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(AddressDlg, afx::CDialog)
    if (msg == WM_QT_ADDRESS_MESSAGE) { m_messages.push_back(reinterpret_cast<const wchar_t*>(lParam)); return true; }
END_MESSAGE_MAP()

void Pump(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
            if (!afx::CDialog::PreTranslateModeless(m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
    }
}

void Key(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD, in.ki.wVk = vk, in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

// Digits and letters as keys; '.' the full stop key, '\b' Backspace, '<' and '>' the arrows,
// '^' Ctrl+V; blank, Escape and '$' (Home) are their own key codes; full-width characters come
// as an input method hands them over. In the dialog in front '*' clicks field 2 of the first
// control, '|' the second control, '!' OK; '=' sets the first control to 10.92.0.21.
void Type(const std::wstring& keys)
{
    for (wchar_t c : keys) {
        HWND dlg = GetForegroundWindow(), first = GetDlgItem(dlg, 101), click = c == L'!' ? GetDlgItem(dlg, IDOK)
             : c == L'*' ? GetDlgItem(first, 2) : c == L'|' ? GetDlgItem(GetDlgItem(dlg, 102), 1) : nullptr;
        IPAddrRecord set = {{10, 92, 0, 21}, 0};
        if (click)
            SendMessageW(click, WM_LBUTTONDOWN, MK_LBUTTON, 0), SendMessageW(click, WM_LBUTTONUP, 0, 0);
        else if (c == L'=')
            SendMessageW(first, WM_IPADDR_SET, 0, reinterpret_cast<LPARAM>(&set));
        else if (c >= 0xFF00)
            PostMessageW(GetFocus(), WM_CHAR, c, 1);
        else {
            WORD vk = c == L'.' ? VK_OEM_PERIOD : c == L'\b' ? VK_BACK : c == L'<' ? VK_LEFT : c == L'>' ? VK_RIGHT
                    : c == L'^' ? 'V' : WORD(towupper(c));
            if (c == L'^')
                Key(VK_CONTROL, false);
            Key(vk, false);
            Key(vk, true);
            if (c == L'^')
                Key(VK_CONTROL, true);
        }
        Pump(60);
    }
    Pump(150);
}

class AddressControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_nSettingDeviceKind = 0;
        ASSERT_TRUE(m_dlg.Create());
        // The keys go where the foreground is; a desktop still starting may hold it a while.
        for (int i = 0; i < 100 && GetForegroundWindow() != m_dlg.m_hWnd; ++i, Pump(20))
            SetForegroundWindow(m_dlg);
        ::SetFocus(m_dlg.GetDlgItem(101));
        Pump(100);
    }
    void TearDown() override { m_dlg.DestroyWindow(); }
    std::vector<std::wstring> Fields(int control)
    {
        std::vector<std::wstring> t(4, std::wstring(8, L'\0'));
        for (int n = 1; n <= 4; ++n)
            t[n - 1].resize(size_t(GetWindowTextW(m_dlg.Field(control, n), &t[n - 1][0], 8)));
        return t;
    }
    int FocusedField(int control)
    {
        for (int n = 1; n <= 4; ++n)
            if (GetFocus() == m_dlg.Field(control, n))
                return n;
        return 0;
    }
    AddressDlg m_dlg;
};

}  // namespace

TEST_F(AddressControl, Typing)
{
    // box: part of the message box's text, or nullptr for none.
    struct Case { const wchar_t* keys; std::vector<std::wstring> fields; int focus; const wchar_t* box;
                  std::vector<std::wstring> prefill = {L"", L"", L"", L""}; } cases[] = {
        {L"192.168.0.1", {L"192", L"168", L"0", L"1"}, 4, nullptr},
        {L"192168", {L"192", L"168", L"", L""}, 3, nullptr},
        {L"1.2.\b5", {L"1", L"25", L"", L""}, 2, nullptr},
        {L"<7", {L"7", L"", L"", L""}, 1, nullptr},
        {L"1.2.3.4>9", {L"1", L"2", L"3", L"49"}, 4, nullptr},
        {L"1a2", {L"12", L"", L"", L""}, 1, nullptr},
        {L"1..", {L"1", L"", L"", L""}, 3, nullptr},
        {L"300", {L"300", L"", L"", L""}, 1, L"300 is not a valid entry."},
        {L"^", {L"12a", L"", L"", L""}, 2, nullptr},
        // Over the addresses the setting dialog always starts with.
        {L"192.168.0.1", {L"192", L"168", L"0", L"1"}, 4, nullptr, {L"10", L"92", L"0", L"21"}},
        {L"192 168", {L"192", L"168", L"0", L"21"}, 3, nullptr, {L"10", L"92", L"0", L"21"}},
        {L".$\b\b", {L"19", L"168", L"100", L"1"}, 1, nullptr, {L"192", L"168", L"100", L"1"}},
        {L"1\x1b", {L"1", L"92", L"0", L"21"}, 1, nullptr, {L"10", L"92", L"0", L"21"}},
        // Full-width digits and dot, as an input method types them.
        {L"\xFF11\xFF19\xFF12\xFF0E\xFF11\xFF16\xFF18\xFF0E\xFF10\xFF0E\xFF11", {L"192", L"168", L"0", L"1"}, 4, nullptr},
        // The move on from a full field is forgotten once the focus left, on a click into a
        // field and when the address is set: a dot in an empty field moves on.
        {L"192|*.5", {L"192", L"", L"5", L""}, 3, nullptr},
        {L"192*.5", {L"192", L"", L"5", L""}, 3, nullptr},
        {L"192!.5", {L"192", L"", L"5", L""}, 3, nullptr},
        {L"192=.5", {L"10", L"92", L"5", L"21"}, 3, nullptr},
    };
    for (const Case& c : cases) {
        for (int n = 1; n <= 4; ++n)
            SetWindowTextW(m_dlg.Field(101, n), c.prefill[size_t(n - 1)].c_str());
        ::SetFocus(m_dlg.GetDlgItem(101));
        if (std::wstring(c.keys) == L"^" && OpenClipboard(m_dlg)) {
            EmptyClipboard();
            HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 10);
            wcscpy(static_cast<wchar_t*>(GlobalLock(mem)), L"12ab");
            GlobalUnlock(mem);
            SetClipboardData(CF_UNICODETEXT, mem);
            CloseClipboard();
        }
        // The control's own message box, answered from another thread while the keys go in.
        auto answer = std::async(std::launch::async, AnswerMessageBox, m_dlg.m_hWnd, IDOK, DWORD(60 * wcslen(c.keys) + 250));
        Type(c.keys);
        std::wstring box = answer.get();
        EXPECT_EQ(Fields(101), c.fields) << c.keys;
        EXPECT_EQ(FocusedField(101), c.focus) << c.keys;
        EXPECT_TRUE(c.box ? box.find(c.box) != std::wstring::npos : box.empty()) << c.keys;
    }
    // Escape cancelled the dialog and left the control in it.
    EXPECT_EQ(m_dlg.m_nCancels, 1);
    // The fields take no input method: digits go in as typed.
    EXPECT_FALSE(ImmGetContext(m_dlg.Field(101, 1)));
}

TEST_F(AddressControl, ExchangeRefusesAnIncompleteAddress)
{
    std::fill(m_dlg.m_octets, m_dlg.m_octets + 4, uint16_t(9));
    Type(L"10.1>>4");
    EXPECT_FALSE(m_dlg.UpdateData(true));
    EXPECT_EQ(std::vector<uint16_t>(m_dlg.m_octets, m_dlg.m_octets + 4), std::vector<uint16_t>(4, 9));
    ASSERT_EQ(m_dlg.m_messages.size(), 1u);
    EXPECT_EQ(m_dlg.m_messages[0], afx::LoadStr(IDS_ADDRESS_LEAK));
    EXPECT_EQ(FocusedField(101), 3);
    Type(L"3");
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_EQ(std::vector<uint16_t>(m_dlg.m_octets, m_dlg.m_octets + 4), (std::vector<uint16_t>{10, 1, 3, 4}));
}

TEST_F(AddressControl, RolesAndDeviceKinds)
{
    // message: 0 for none.
    struct Case { int role, kind; std::vector<std::wstring> fields; int result, failed; UINT message; } cases[] = {
        {CIPAddrCtl::kRoleMask, 0, {L"255", L"255", L"", L"0"}, 0, 3, IDS_MASK_LEAK},
        {CIPAddrCtl::kRoleGateway, 1, {L"", L"", L"", L""}, 1, 0, 0},
        {CIPAddrCtl::kRoleGateway, 2, {L"10", L"", L"", L""}, 0, 2, IDS_GATEWAY_INVALID},
        {CIPAddrCtl::kRoleGateway, 0, {L"", L"", L"", L""}, 0, 1, IDS_GATEWAY_EMPTY},
        {CIPAddrCtl::kRoleGateway, 3, {L"10", L"999", L"", L"1"}, 0, 3, IDS_GATEWAY_INVALID},
        {CIPAddrCtl::kRoleAddress, 0, {L"10", L"0", L"256", L"1"}, 0, 3, IDS_OCTET_INVALID},
        {CIPAddrCtl::kRoleAddress, 0, {L"10", L"ab", L"0", L"1"}, 0, 2, IDS_OCTET_INVALID},
        {CIPAddrCtl::kRoleMask, 0, {L"255", L"255", L"-5", L"0"}, 0, 3, IDS_OCTET_INVALID},
    };
    CIPAddrCtl* ctl = CIPAddrCtl::FromHandle(m_dlg.GetDlgItem(102));
    ASSERT_TRUE(ctl);
    for (const Case& c : cases) {
        g_nSettingDeviceKind = uint16_t(c.kind);
        ctl->SetRole(c.role);
        for (int n = 1; n <= 4; ++n)
            SetWindowTextW(m_dlg.Field(102, n), c.fields[n - 1].c_str());
        m_dlg.m_messages.clear();
        IPAddrRecord r = {{7, 7, 7, 7}, 9};
        EXPECT_EQ(::SendMessageW(*ctl, WM_IPADDR_GET, 1, reinterpret_cast<LPARAM>(&r)), c.result) << c.role << c.kind;
        EXPECT_EQ(r.failedField, c.failed) << c.role << c.kind;
        // What the message starts with: string 49 names the bad field's text.
        std::wstring start = c.message == IDS_OCTET_INVALID ? c.fields[size_t(c.failed - 1)] + L" is not"
                           : c.message ? afx::LoadStr(c.message) : L"";
        ASSERT_EQ(m_dlg.m_messages.size(), c.message ? 1u : 0u) << c.role << c.kind;
        EXPECT_TRUE(!c.message || m_dlg.m_messages[0].find(start) == 0) << c.role << c.kind;
    }
    // A kind 0 device's gateway of 0.0.0.0 shows as four empty fields.
    g_nSettingDeviceKind = 0;
    IPAddrRecord zero = {};
    ::SendMessageW(*ctl, WM_IPADDR_SET, 0, reinterpret_cast<LPARAM>(&zero));
    EXPECT_EQ(Fields(102), std::vector<std::wstring>(4, L""));
}

// A storage device's setting dialog under the Japanese interface: its Shift-JIS name ("テスト"),
// and Clear, which puts back the addresses only.
TEST(SettingDialog, NameInTheInterfaceCodePageAndClearKeepsTypedNames)
{
    DeviceTableEntry entry = {};
    entry.kind = kKindStorage, entry.addressType = 1;
    entry.address = 0x0A5C0015, entry.mask = 0xFFFFFF00, entry.gateway = 0x0A5C0001;
    std::strcpy(entry.name, "\x83\x65\x83\x58\x83\x67@WG");
    DeviceTableEntry working = entry;
    CDeviceSettingDlg dlg(IDD_SETTING_STORAGE, nullptr);
    dlg.SetDevice(entry, &working);
    {
        // The locale comes back however the creation ends.
        struct Restore { LCID before = GetThreadLocale(); ~Restore() { SetThreadLocale(before); } } restore;
        SetThreadLocale(MAKELCID(1041, SORT_DEFAULT));
        ASSERT_TRUE(dlg.Create());
    }
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DEVICE_NAME), L"\x30C6\x30B9\x30C8");
    dlg.SetDlgItemText(IDC_DEVICE_NAME, L"NAS2");
    dlg.SetDlgItemText(IDC_WORKGROUP, L"HOME");
    HWND last = ::GetDlgItem(dlg.GetDlgItem(IDC_ADDRESS), 4);
    SetWindowTextW(last, L"99");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED), LPARAM(dlg.GetDlgItem(IDC_CLEAR)));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DEVICE_NAME), L"NAS2");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_WORKGROUP), L"HOME");
    EXPECT_EQ(WindowText(last), L"21");
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_USE_DHCP), UINT(BST_CHECKED));
    dlg.DestroyWindow();
}

// Each setting template, its address labels disabled (DHCP) and enabled (static) and its clock
// group shown, then the logon: every text whole in each language (the version box is measured
// in the program's own tests).
TEST(SettingDialog, EveryTextWholeInEachLanguage)
{
    const UINT storage[] = {IDD_SETTING_STORAGE, IDD_SETTING_STORAGE_CLOCK};
    const UINT clock[] = {IDD_SETTING_AP_CLOCK, IDD_SETTING_STORAGE_CLOCK};
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        afx::SetResourceLanguage(lang);
        auto check = [lang](afx::CDialog& dlg, UINT id, const char* state) {
            ::ShowWindow(dlg, SW_SHOWNA);
            std::vector<std::string> unfit = UnfitTexts(dlg);
            EXPECT_TRUE(unfit.empty()) << "template " << id << " in " << lang << ", " << state << "\n" << Lines(unfit);
        };
        for (UINT id : {IDD_SETTING_AP, IDD_SETTING_STORAGE, IDD_SETTING_AP_CLOCK, IDD_SETTING_STORAGE_CLOCK}) {
            DeviceTableEntry entry = {};
            entry.kind = std::count(storage, storage + 2, id) ? kKindStorage : 0;
            std::strcpy(entry.name, "NAS01@WORKGROUP");
            DeviceTableEntry working = entry;
            working.changeFlags = std::count(clock, clock + 2, id) ? kChangeClock : 0;
            DeviceTimeRecord time = {};
            CDeviceSettingDlg dlg(id, nullptr);
            dlg.SetDevice(entry, &working);
            if (working.changeFlags)
                dlg.ShowDeviceTime(&time);
            ASSERT_TRUE(dlg.Create()) << id << " in " << lang;
            check(dlg, id, "DHCP");
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_USE_STATIC, BN_CLICKED), LPARAM(dlg.GetDlgItem(IDC_USE_STATIC)));
            check(dlg, id, "static");
            dlg.DestroyWindow();
        }
        CLoginPasswordDlg logon;
        ASSERT_TRUE(logon.Create());
        check(logon, IDD_LOGIN_PASSWORD, "empty");
        logon.DestroyWindow();
    }
    afx::SetResourceLanguage(1033);
}
