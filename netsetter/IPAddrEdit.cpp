// One octet field of the IPv4 entry control: digits only, navigation keys go to the control.
#include "netsetter/IPAddrEdit.h"
#include "netsetter/IPAddrCtl.h"

BEGIN_MESSAGE_MAP(CIPAddrEdit, afx::CEdit)
    if (msg == WM_CHAR) { OnChar(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); lResult = 0; return true; }
    if (msg == WM_KEYDOWN) { OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); lResult = 0; return true; }
    // The focus leaving a field and a click into one end the move on from a full field.
    if ((msg == WM_KILLFOCUS || msg == WM_LBUTTONDOWN) && m_pControl)
        m_pControl->TakeAutoMove(0);
END_MESSAGE_MAP()

void CIPAddrEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    // An input method that is on types full-width digits and dot: they count as their plain forms.
    if ((ch >= 0xFF10 && ch <= 0xFF19) || ch == 0xFF0E)
        ch -= 0xFF00 - 0x20;
    int field = GetDlgCtrlID();
    // A dot or blank right after the field before moved on by itself only confirms that move.
    bool afterAutoMove = m_pControl && m_pControl->TakeAutoMove(field);
    if (ch == '.' || ch == ' ') {
        if (m_pControl && !afterAutoMove)
            m_pControl->OnFieldKey(ch, repeat, flags, field);
        return;
    }
    if (ch == '\t' || ch == '\r') {
        if (m_pControl)
            m_pControl->OnFieldKey(ch == '\t' ? VK_TAB : VK_RETURN, repeat, flags, field);
        return;
    }
    if (ch == 27)
        return;  // Escape did its work on the key-down
    bool digit = ch >= '0' && ch <= '9';
    if (digit || ch < 32 || ch == 127) {
        std::wstring before = GetWindowText();
        DefWindowProc(WM_CHAR, ch, MAKELPARAM(repeat, flags));
        // Only a digit or a change (a paste) fills the field; Backspace at its start or a copy does not.
        if (m_pControl && ::GetWindowTextLengthW(m_hWnd) == 3 && (digit || GetWindowText() != before))
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
    // The caret moved by hand (page, end, home, arrows, Delete): a dot after it is a move of its own.
    if (m_pControl && ((key >= VK_PRIOR && key <= VK_DOWN) || key == VK_DELETE))
        m_pControl->TakeAutoMove(0);
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
        // Escape cancels the dialog that holds the control. The edit's own handling would close
        // its parent, the control, and leave the dialog without it.
        HWND holder = ::GetParent(GetParent());
        wchar_t name[16] = {};
        if (holder && ::GetClassNameW(holder, name, 16) && lstrcmpW(name, L"#32770") == 0)
            ::SendMessageW(holder, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(holder, IDCANCEL)));
        return;
    }
    default:
        break;
    }
    Default();
}
