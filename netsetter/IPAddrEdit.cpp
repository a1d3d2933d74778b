// One octet field of the IPv4 entry control: digits only, navigation keys go to the control.
#include "netsetter/IPAddrEdit.h"
#include "netsetter/IPAddrCtl.h"

BEGIN_MESSAGE_MAP(CIPAddrEdit, afx::CEdit)
    if (msg == WM_CHAR) { OnChar(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); lResult = 0; return true; }
    if (msg == WM_KEYDOWN) { OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); lResult = 0; return true; }
END_MESSAGE_MAP()

void CIPAddrEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    int field = GetDlgCtrlID();
    if (ch == '\t' || ch == '\r' || ch == '.' || ch == ' ') {
        if (m_pControl)
            m_pControl->OnFieldKey(ch == '\t' ? VK_TAB : ch == '\r' ? VK_RETURN : ch, repeat, flags, field);
        return;
    }
    if ((ch >= '0' && ch <= '9') || ch < 32 || ch == 127) {
        Default();
        if (m_pControl && ::GetWindowTextLengthW(m_hWnd) == 3)
            m_pControl->OnFieldKey(kFieldFull, repeat, flags, field);
        return;
    }
    MessageBeep(0xFFFFFFFF);
}

int CIPAddrEdit::CaretIndex() const
{
    POINT p;
    if (!GetCaretPos(&p))
        return 0;
    return LOWORD(SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y)));
}

void CIPAddrEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    int field = GetDlgCtrlID();
    switch (key) {
    case VK_LEFT:
    case VK_BACK:
        if (m_pControl && CaretIndex() == 0)
            m_pControl->OnFieldKey(key, repeat, flags, field);
        break;
    case VK_RIGHT:
        if (m_pControl && CaretIndex() == ::GetWindowTextLengthW(m_hWnd))
            m_pControl->OnFieldKey(key, repeat, flags, field);
        break;
    case VK_ESCAPE: {
        // Inside a dialog that is itself a child of a dialog, Escape cancels the outer one.
        HWND holder = ::GetParent(GetParent());
        HWND outer = holder ? ::GetAncestor(holder, GA_PARENT) : nullptr;
        wchar_t a[16] = {}, b[16] = {};
        if (holder && outer && ::GetClassNameW(holder, a, 16) && ::GetClassNameW(outer, b, 16) &&
            lstrcmpW(a, L"#32770") == 0 && lstrcmpW(b, L"#32770") == 0) {
            ::SendMessageW(outer, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(outer, IDCANCEL)));
            return;
        }
        break;
    }
    default:
        break;
    }
    Default();
}
