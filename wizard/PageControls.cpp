// Small helpers the wizard's pages share.
#include "wizard/PageControls.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "afx/WinApp.h"
#include "wizard/PellgroveApp.h"
#include "resources/pellgrove/resource.h"
#include <commctrl.h>

void DDX_Radio(afx::CDataExchange* pDX, UINT firstId, int& value)
{
    HWND first = pDX->PrepareCtrl(firstId);
    if (!first)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND w = first; w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (w != first && (::GetWindowLongW(w, GWL_STYLE) & WS_GROUP))
            break;
        // Labels and check boxes inside a group are no choices of it.
        if (!(::SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0)
                value = index;
        } else {
            ::SendMessageW(w, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDV_MaxCharsText(afx::CDataExchange* pDX, const std::wstring& value, int limit)
{
    // Loading sets no limit: in the pages' exchange order the control before the check is
    // never the edit the check belongs to.
    if (!pDX->m_bSaveAndValidate || value.size() <= size_t(limit))
        return;
    std::wstring text = FormatArg(afx::LoadStr(IDS_MAX_CHARS), std::to_wstring(limit));
    afx::AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->m_hWnd);
    pDX->Fail();
}

std::wstring FormatArg(const std::wstring& text, const std::wstring& arg)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L'1') {
            out += arg;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::wstring ApplicationTitle()
{
    return afx::AfxGetApp() ? GetPellgroveApp().m_strTitle : std::wstring();
}

void PlaceControl(HWND dialog, UINT id, int x, int y, int width, int height)
{
    HWND w = ::GetDlgItem(dialog, int(id));
    if (w)
        ::MoveWindow(w, x, y, width, height, TRUE);
}

void ShowControl(HWND dialog, UINT id, bool show)
{
    HWND w = ::GetDlgItem(dialog, int(id));
    if (w)
        ::ShowWindow(w, show ? SW_SHOW : SW_HIDE);
}

void EnableControl(HWND dialog, UINT id, bool enable)
{
    HWND w = ::GetDlgItem(dialog, int(id));
    if (w)
        ::EnableWindow(w, enable);
}

int CIpAddressCtrl::GetAddress(uint32_t& address) const
{
    DWORD a = 0;
    int fields = int(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)));
    address = a;
    return fields;
}
