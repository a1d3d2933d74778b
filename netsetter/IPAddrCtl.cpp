// The network setter's IPv4 entry control: four octet fields in one bordered window (class "IPAddr").
#include "netsetter/IPAddrCtl.h"
#include "afx/DataExchange.h"
#include "afx/Gdi.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/QuentariState.h"
#include <imm.h>
#include <cwchar>
#include <string>

namespace {
const wchar_t kClassName[] = L"IPAddr";
// The last message the controls made: its template and the formatted text handed to the dialog.
std::wstring g_strMessageTemplate;
std::wstring g_strMessageText;
// Dialog templates name the class, so it exists before any dialog is made.
const bool g_bClassRegistered = CIPAddrCtl::RegisterClass();

std::wstring Format(const std::wstring& pattern, int value)
{
    wchar_t buf[512];
    std::swprintf(buf, 512, pattern.c_str(), value);
    return buf;
}
}  // namespace

BEGIN_MESSAGE_MAP(CIPAddrCtl, afx::CWnd)
    ON_WM_CREATE()
    if (msg == WM_SIZE) { Default(); OnSize(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); lResult = 0; return true; }
    if (msg == WM_SETFOCUS) { OnSetFocus(reinterpret_cast<HWND>(wParam)); lResult = 0; return true; }
    ON_WM_PAINT()
    if (msg == WM_ERASEBKGND) { lResult = OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); return true; }
    if (msg == WM_ENABLE) { OnEnable(BOOL(wParam)); lResult = 0; return true; }
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    if (msg == WM_GETFONT) { lResult = reinterpret_cast<LRESULT>(m_hFont); return true; }
    if (msg == WM_IPADDR_GET) { lResult = GetAddress(int(wParam), reinterpret_cast<IPAddrRecord*>(lParam)); return true; }
    if (msg == WM_IPADDR_SET) { lResult = SetAddress(reinterpret_cast<const IPAddrRecord*>(lParam)); return true; }
    if (msg == WM_IPADDR_READONLY) { lResult = SetReadOnly(int(wParam)); return true; }
END_MESSAGE_MAP()

bool CIPAddrCtl::RegisterClass()
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(module, kClassName, &wc))
        return true;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = ClassProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

LRESULT CALLBACK CIPAddrCtl::ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        // The object lives with the window and deletes itself after WM_NCDESTROY.
        auto* control = new CIPAddrCtl;
        if (!(control->afx::CWnd::SubclassWindow)(hwnd)) {
            delete control;
            return FALSE;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

CIPAddrCtl* CIPAddrCtl::FromHandle(HWND hwnd)
{
    return dynamic_cast<CIPAddrCtl*>(afx::CWnd::FromHandlePermanent(hwnd));
}

const wchar_t* CIPAddrCtl::LastMessage()
{
    return g_strMessageText.c_str();
}

int CIPAddrCtl::OnCreate(CREATESTRUCTW* cs)
{
    if (Default() == -1)
        return -1;
    m_bNoValidation = int(cs->style & 1);
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetExStyle() | WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    for (int i = 0; i < 4; ++i) {
        HWND field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_CENTER, 0, 0, 0, 0,
                                     m_hWnd, reinterpret_cast<HMENU>(INT_PTR(i + 1)), GetModuleHandleW(nullptr),
                                     nullptr);
        if (!field || !(m_fields[i].afx::CWnd::SubclassWindow)(field))
            return -1;
        m_fields[i].LimitText(3);
        // Digits need no input method: typed with one on, they would wait in its composition.
        ImmAssociateContext(field, nullptr);
        m_fields[i].SetOwnerControl(this);
    }
    return 0;
}

void CIPAddrCtl::OnSize(UINT, int, int)
{
    RECT rc = GetClientRect();
    int d = 4;
    {
        afx::CClientDC dc(m_hWnd);
        afx::CSelectObject sel(dc, m_hFont);
        SIZE s;
        if (GetTextExtentPoint32W(dc, L".", 1, &s))
            d = s.cx;
    }
    int fieldWidth = (rc.right - 3 * d) / 4;
    int top = GetSystemMetrics(SM_CYEDGE);
    for (int i = 0; i < 4; ++i) {
        if (m_fields[i].m_hWnd)
            m_fields[i].MoveWindow(i * (fieldWidth + d), top, fieldWidth, rc.bottom - top);
        if (i < 3)
            m_dots[i] = RECT{fieldWidth + i * (fieldWidth + d), 0, fieldWidth + i * (fieldWidth + d) + d, rc.bottom};
    }
}

void CIPAddrCtl::OnSetFocus(HWND)
{
    Default();
    FocusField(0, true);
}

void CIPAddrCtl::FocusField(int index, bool selectAll)
{
    if (index < 0 || index > 3)
        return;
    CIPAddrEdit& f = m_fields[index];
    f.SetFocus();
    if (selectAll)
        f.SetSel(0, -1);
    f.SendMessage(EM_SCROLLCARET);
}

void CIPAddrCtl::OnPaint()
{
    afx::CPaintDC dc(m_hWnd);
    afx::CSelectObject sel(dc, m_hFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(m_bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    for (RECT r : m_dots)
        DrawTextW(dc, L".", 1, &r, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
}

BOOL CIPAddrCtl::OnEraseBkgnd(HDC dc)
{
    RECT rc = GetClientRect();
    FillRect(dc, &rc, GetSysColorBrush(!m_bEnabled || m_bReadOnly ? COLOR_BTNFACE : COLOR_WINDOW));
    return TRUE;
}

void CIPAddrCtl::OnEnable(BOOL enable)
{
    Default();
    int state = enable ? 1 : 0;
    if (state != m_bEnabled) {
        m_bEnabled = state;
        for (CIPAddrEdit& f : m_fields)
            f.EnableWindow(state != 0);
    }
    Invalidate(true);
}

LRESULT CIPAddrCtl::OnSetFont(WPARAM font, LPARAM redraw)
{
    m_hFont = reinterpret_cast<HFONT>(font);
    for (CIPAddrEdit& f : m_fields)
        f.SendMessage(WM_SETFONT, font, redraw);
    // The dots' width depends on the font.
    OnSize(0, 0, 0);
    return 0;
}

int CIPAddrCtl::SetReadOnly(int flag)
{
    m_bReadOnly = flag;
    for (CIPAddrEdit& f : m_fields)
        f.SetReadOnly(flag != 0);
    Invalidate(true);
    return 1;
}

int CIPAddrCtl::FieldValue(int index) const
{
    std::wstring text = m_fields[index].GetWindowText();
    if (text.empty())
        return -1;
    // The leading digits count (a pasted text may carry more); a text without any ("ab", "-5")
    // is no octet at all.
    if (text[0] < L'0' || text[0] > L'9')
        return kNotANumber;
    long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + (c - L'0');
        if (value > 100000)
            break;
    }
    return int(value);
}

std::wstring CIPAddrCtl::InvalidEntryText(int index) const
{
    std::wstring pattern = afx::LoadStr(IDS_OCTET_INVALID);
    int value = FieldValue(index);
    if (value != kNotANumber)
        return Format(pattern, value);
    size_t at = pattern.find(L"%d");
    if (at != std::wstring::npos)
        pattern.replace(at, 2, m_fields[index].GetWindowText());
    return pattern;
}

int CIPAddrCtl::GetAddress(int report, IPAddrRecord* record)
{
    if (!record)
        return 0;
    *record = IPAddrRecord{};
    int values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = FieldValue(i);
    auto empty = [&](int i) { return values[i] < 0; };
    auto bad = [&](int i) { return values[i] < 0 || values[i] > 255; };
    int kind = g_nSettingDeviceKind;
    int failed = -1;
    if (m_nRole == kRoleGateway && kind >= 1 && kind <= 3) {
        // An access point may have no gateway at all.
        if (empty(0) && empty(1) && empty(2) && empty(3))
            return 1;
        for (int i = 0; i < 4 && failed < 0; ++i)
            if (empty(i))
                failed = i;
        for (int i = 0; i < 4 && failed < 0; ++i)
            if (bad(i))
                failed = i;
    } else {
        for (int i = 0; i < 4 && failed < 0; ++i)
            if (bad(i))
                failed = i;
    }
    if (failed < 0) {
        for (int i = 0; i < 4; ++i)
            record->octets[i] = uint16_t(values[i]);
        return 1;
    }
    record->failedField = failed + 1;
    if (report) {
        UINT id;
        if (!empty(failed))
            id = IDS_OCTET_INVALID;
        else if (m_nRole == kRoleAddress)
            id = IDS_ADDRESS_LEAK;
        else if (m_nRole == kRoleMask)
            id = IDS_MASK_LEAK;
        else
            id = kind >= 1 && kind <= 3 ? IDS_GATEWAY_INVALID : IDS_GATEWAY_EMPTY;
        Report(failed, id);
    }
    return 0;
}

void CIPAddrCtl::Report(int index, UINT stringId)
{
    g_strMessageTemplate = afx::LoadStr(stringId);
    g_strMessageText = stringId == IDS_OCTET_INVALID ? InvalidEntryText(index) : g_strMessageTemplate;
    FocusField(index, true);
    ::SendMessageW(Holder(), WM_QT_ADDRESS_MESSAGE, 0, reinterpret_cast<LPARAM>(g_strMessageText.c_str()));
}

int CIPAddrCtl::SetAddress(const IPAddrRecord* record)
{
    if (!record)
        return 1;
    m_nAutoMoved = 0;
    const uint16_t* o = record->octets;
    bool zero = o[0] == 0 && o[1] == 0 && o[2] == 0 && o[3] == 0;
    for (int i = 0; i < 4; ++i) {
        if (g_nSettingDeviceKind == 0 && zero) {
            m_fields[i].SetWindowText(L"");
        } else {
            wchar_t buf[8];
            std::swprintf(buf, 8, L"%u", unsigned(o[i]));
            m_fields[i].SetWindowText(buf);
        }
    }
    return 1;
}

void CIPAddrCtl::OnFieldKey(UINT code, UINT, UINT, int field)
{
    int n = field;
    HWND holder = Holder();
    m_nAutoMoved = 0;
    switch (code) {
    case VK_BACK:
        if (n > 1) {
            CIPAddrEdit& f = m_fields[n - 2];
            f.SetFocus();
            f.SetSel(3, 3);
            f.SendMessage(EM_SCROLLCARET);
        }
        break;
    case VK_TAB:
        if (HWND next = GetNextDlgTabItem(holder, m_hWnd, GetKeyState(VK_SHIFT) < 0))
            ::SetFocus(next);
        break;
    case VK_RETURN: {
        LRESULT def = ::SendMessageW(holder, DM_GETDEFID, 0, 0);
        if (HIWORD(def) == DC_HASDEFID) {
            UINT id = LOWORD(def);
            ::SendMessageW(holder, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(holder, int(id))));
        }
        break;
    }
    case VK_LEFT:
        if (n > 1)
            m_fields[n - 2].SetFocus();
        break;
    case CIPAddrEdit::kFieldFull:
        if (!m_bNoValidation) {
            int value = FieldValue(n - 1);
            if (value > 255) {
                std::wstring text = InvalidEntryText(n - 1);
                ::MessageBoxW(holder, text.c_str(), afx::LoadStr(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
                FocusField(n - 1, true);
                break;
            }
        }
        if (n < 4) {
            FocusField(n, true);
            m_nAutoMoved = n + 1;
        }
        break;
    case VK_SPACE:
    case '.':
    case VK_RIGHT:
        if (n < 4) {
            if (code == VK_RIGHT)
                m_fields[n].SetFocus();
            else
                FocusField(n, true);
        }
        break;
    default:
        break;
    }
}

void DDX_IPAddress(afx::CDataExchange* pDX, UINT id, uint16_t octets[4])
{
    CIPAddrCtl* control = CIPAddrCtl::FromHandle(pDX->PrepareCtrl(id));
    if (!control)
        return;
    IPAddrRecord record = {};
    if (!pDX->m_bSaveAndValidate) {
        for (int i = 0; i < 4; ++i)
            record.octets[i] = octets[i];
        control->SetAddress(&record);
        return;
    }
    if (!control->GetAddress(1, &record)) {
        pDX->Fail();
        // The exchange's own focus went to the control; the bad field keeps it.
        control->FocusBadField(record.failedField);
        return;
    }
    for (int i = 0; i < 4; ++i)
        octets[i] = record.octets[i];
}
