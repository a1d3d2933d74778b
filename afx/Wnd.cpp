// Thin, non-owning wrapper of a window handle, with the message dispatch every afx window shares.
#include "afx/Wnd.h"
#include <commctrl.h>
#include <exception>

namespace afx {

static const wchar_t kObjectProp[] = L"afx.CWnd";
static const UINT_PTR kSubclassId = 0xAF0;

CWnd::~CWnd()
{
    if (m_subclassed)
        UnsubclassWindow();
}

std::wstring CWnd::GetWindowText() const
{
    int n = ::GetWindowTextLengthW(m_hWnd);
    std::wstring s(size_t(n) + 1, L'\0');
    n = ::GetWindowTextW(m_hWnd, &s[0], n + 1);
    s.resize(n > 0 ? size_t(n) : 0);
    return s;
}

std::wstring CWnd::GetDlgItemText(UINT id) const
{
    HWND item = GetDlgItem(id);
    if (!item)
        return std::wstring();
    CWnd w(item);
    std::wstring s = w.GetWindowText();
    w.Detach();
    return s;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

void CWnd::BindObject(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProp, this);
}

void CWnd::UnbindObject(HWND hwnd)
{
    ::RemovePropW(hwnd, kObjectProp);
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_subclassed || FromHandlePermanent(hwnd))
        return false;
    if (!::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    BindObject(hwnd);
    m_subclassed = true;
    return true;
}

void CWnd::UnsubclassWindow()
{
    if (!m_subclassed)
        return;
    if (::IsWindow(m_hWnd)) {
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
        UnbindObject(m_hWnd);
    }
    m_subclassed = false;
    m_hWnd = nullptr;
}

bool CWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWnd::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // Reflected messages carry the OCM base so a map can tell them from its own.
    return Dispatch(msg + 0x2000, wp, lp, result);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.msg, m_current.wp, m_current.lp);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_subclassed)
        return ::DefSubclassProc(m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

bool CWnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    CurrentMessage saved = m_current;
    m_current = {msg, wp, lp};
    bool handled = false;
    try {
        handled = ProcessWindowMessage(msg, wp, lp, result);
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
        result = 0;
        handled = true;
    } catch (...) {
        ::OutputDebugStringW(L"afx: exception in a message handler\n");
        result = 0;
        handled = true;
    }
    m_current = saved;
    return handled;
}

bool CWnd::ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_NOTIFY:
        child = lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
        break;
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lp);
        break;
    case WM_DRAWITEM:
        child = lp ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr;
        break;
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORDLG: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lp);
        break;
    default:
        return false;
    }
    if (!child || child == parent)
        return false;  // WM_CTLCOLORDLG names the dialog itself
    CWnd* obj = FromHandlePermanent(child);
    return obj && obj->OnChildNotify(msg, wp, lp, result);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    CWnd* self = reinterpret_cast<CWnd*>(ref);
    LRESULT result = 0;
    if (msg == WM_NCDESTROY) {
        LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
        self->UnsubclassWindow();
        self->PostNcDestroy();
        return r;
    }
    if (ReflectToChild(hwnd, msg, wp, lp, result))
        return result;
    if (self->Dispatch(msg, wp, lp, result))
        return result;
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace afx
