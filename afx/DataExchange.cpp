// Data exchange between a dialog's controls and its members (DoDataExchange entries).
#include "afx/DataExchange.h"
#include "afx/Wnd.h"
#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace afx {

HWND CDataExchange::PrepareCtrl(UINT id)
{
    m_lastCtrl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    return m_lastCtrl;
}

void CDataExchange::Fail()
{
    m_failed = true;
    if (m_lastCtrl)
        ::SetFocus(m_lastCtrl);
}

static std::wstring TextOf(HWND ctrl)
{
    CWnd w(ctrl);
    std::wstring s = w.GetWindowText();
    w.Detach();
    return s;
}

void DDX_Text(CDataExchange* pDX, UINT id, std::wstring& value)
{
    HWND ctrl = pDX->PrepareCtrl(id);
    if (!ctrl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = TextOf(ctrl);
    else
        ::SetWindowTextW(ctrl, value.c_str());
}

void DDX_Text(CDataExchange* pDX, UINT id, wchar_t* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    HWND ctrl = pDX->PrepareCtrl(id);
    if (!ctrl)
        return;
    if (pDX->m_bSaveAndValidate) {
        std::wstring s = TextOf(ctrl);
        size_t n = s.size() < size ? s.size() : size - 1;
        s.copy(buffer, n);
        buffer[n] = L'\0';
    } else {
        // The field may lack its terminator; never read past its end.
        ::SetWindowTextW(ctrl, std::wstring(buffer, wcsnlen(buffer, size)).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, UINT id, int& value)
{
    HWND ctrl = pDX->PrepareCtrl(id);
    if (!ctrl)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextW(ctrl, std::to_wstring(value).c_str());
        return;
    }
    std::wstring s = TextOf(ctrl);
    const wchar_t* p = s.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    long long v = std::wcstoll(p, &end, 10);
    while (end && std::iswspace(*end))
        ++end;
    if (end == p || !end || *end != L'\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        pDX->Fail();
        return;
    }
    value = int(v);
}

void DDX_Check(CDataExchange* pDX, UINT id, int& value)
{
    HWND ctrl = pDX->PrepareCtrl(id);
    if (!ctrl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = int(::SendMessageW(ctrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(ctrl, BM_SETCHECK, WPARAM(value), 0);
}

void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND ctrl = pDX->PrepareCtrl(id);
    if (!ctrl)
        return;
    control.SubclassWindow(ctrl);
}

}  // namespace afx
