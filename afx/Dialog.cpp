// Dialogs from templates of the chosen resource language, modal or modeless.
#include "afx/Dialog.h"
#include "afx/DataExchange.h"
#include "afx/ResourceLanguage.h"
#include <algorithm>
#include <vector>

namespace afx {

// Modeless dialogs alive on the user-interface thread, for keyboard navigation.
static std::vector<HWND> g_modeless;

// The modal dialogs' own loop is the system's; a message filter offers them their messages first.
static LRESULT CALLBACK ModalFilter(int code, WPARAM wp, LPARAM lp)
{
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (code == MSGF_DIALOGBOX && msg && msg->hwnd) {
        auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(::GetAncestor(msg->hwnd, GA_ROOT)));
        if (dlg && dlg->FilterModalMessage(*msg))
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

CDialog::CDialog(UINT templateId, HWND parent) : m_nIDTemplate(templateId), m_hParent(parent) {}

CDialog::~CDialog()
{
    // A modeless window that outlives its object would call into freed memory.
    if (m_hWnd && ::IsWindow(m_hWnd) && !m_modal) {
        HWND h = m_hWnd;
        Unbind(h);
        ::DestroyWindow(h);
    }
}

void CDialog::Unbind(HWND hwnd)
{
    UnbindObject(hwnd);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    g_modeless.erase(std::remove(g_modeless.begin(), g_modeless.end(), hwnd), g_modeless.end());
    m_hWnd = nullptr;
}

INT_PTR CDialog::DoModal()
{
    const DLGTEMPLATE* tpl = LoadDialogTemplate(m_nIDTemplate);
    if (!tpl)
        return -1;
    m_modal = true;
    // One filter serves nested modal dialogs: it asks the dialog the message is for.
    static thread_local bool filtering = false;
    HHOOK filter = filtering ? nullptr : ::SetWindowsHookExW(WH_MSGFILTER, ModalFilter, nullptr, ::GetCurrentThreadId());
    filtering = filtering || filter;
    INT_PTR r = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), tpl, m_hParent, DialogProc,
                                          reinterpret_cast<LPARAM>(this));
    if (filter) {
        ::UnhookWindowsHookEx(filter);
        filtering = false;
    }
    m_modal = false;
    m_hWnd = nullptr;
    return r;
}

bool CDialog::Create(UINT templateId, HWND parent)
{
    if (templateId)
        m_nIDTemplate = templateId;
    if (parent)
        m_hParent = parent;
    const DLGTEMPLATE* tpl = LoadDialogTemplate(m_nIDTemplate);
    if (!tpl || m_hWnd)
        return false;
    m_modal = false;
    m_endModalLoop = false;
    m_modalResult = -1;
    HWND h = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), tpl, m_hParent, DialogProc,
                                          reinterpret_cast<LPARAM>(this));
    if (!h)
        return false;
    g_modeless.push_back(h);
    return true;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!m_hWnd)
        return;
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        m_modalResult = result;
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::RunModalLoop()
{
    while (ContinueModal()) {
        MSG msg;
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                ::PostQuitMessage(int(msg.wParam));  // for the loop that runs after this one
            break;
        }
        if (!PreTranslateMessage(msg) && !PreTranslateModeless(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return m_modalResult;
}

void CDialog::EndModalLoop(INT_PTR result)
{
    m_modalResult = result;
    m_endModalLoop = true;
    // Called from a sent message, the loop would sleep in GetMessage until the next posted one.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.Failed();
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    // The dialog manager's own handling runs after the dialog procedure declines, so the
    // default seen from a handler is the plain window procedure's.
    return ::DefWindowProcW(m_hWnd, m_current.msg, m_current.wp, m_current.lp);
}

bool CDialog::PreTranslateModeless(MSG& msg)
{
    for (HWND h : g_modeless)
        if (::IsWindow(h) && (h == msg.hwnd || ::IsChild(h, msg.hwnd)) && ::IsDialogMessageW(h, &msg))
            return true;
    return false;
}

// Messages whose result a dialog procedure returns itself instead of in DWLP_MSGRESULT.
static bool ReturnsDirectly(UINT msg)
{
    return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
           msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_INITDIALOG;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->BindObject(hwnd);
        self->m_current = {msg, wp, lp};
        bool focusDefault = true;
        try {
            focusDefault = self->OnInitDialog();
        } catch (...) {
            ::OutputDebugStringW(L"afx: exception in OnInitDialog\n");
        }
        return focusDefault ? TRUE : FALSE;
    }
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return FALSE;  // messages before WM_INITDIALOG, or after the object let go
    if (msg == WM_NCDESTROY) {
        self->Unbind(hwnd);
        self->PostNcDestroy();
        return FALSE;
    }
    LRESULT result = 0;
    if (ReflectToChild(hwnd, msg, wp, lp, result) || self->Dispatch(msg, wp, lp, result)) {
        if (ReturnsDirectly(msg))
            return INT_PTR(result);
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        try {
            if (LOWORD(wp) == IDOK) { self->OnOK(); return TRUE; }
            if (LOWORD(wp) == IDCANCEL) { self->OnCancel(); return TRUE; }
        } catch (...) {
            ::OutputDebugStringW(L"afx: exception in OnOK/OnCancel\n");
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace afx
