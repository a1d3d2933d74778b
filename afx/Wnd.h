// Thin, non-owning wrapper of a window handle, with the message dispatch every afx window shares.
#pragma once
#include <windows.h>
#include <string>

namespace afx {

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }

    // Routes the window's messages through this object's message map (control subclassing);
    // the binding ends by itself when the window is destroyed.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, int(id))); }
    void UnsubclassWindow();
    // The afx object bound to a window by SubclassWindow or a dialog, or nullptr.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND GetDlgItem(UINT id) const { return ::GetDlgItem(m_hWnd, int(id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    bool SetWindowText(const std::wstring& text) { return ::SetWindowTextW(m_hWnd, text.c_str()) != FALSE; }
    std::wstring GetWindowText() const;
    bool SetDlgItemText(UINT id, const std::wstring& text) { return ::SetDlgItemTextW(m_hWnd, int(id), text.c_str()) != FALSE; }
    std::wstring GetDlgItemText(UINT id) const;
    bool ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND SetActiveWindow() { return ::SetActiveWindow(m_hWnd); }
    bool SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd) != FALSE; }
    // The icon of the title bar (big = false) or of Alt+Tab (big = true); the previous one.
    // The window does not own it: the caller keeps it alive and destroys it.
    HICON SetIcon(HICON icon, bool big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon))); }
    bool MoveWindow(int x, int y, int w, int h, bool repaint = true) { return ::MoveWindow(m_hWnd, x, y, w, h, repaint) != FALSE; }
    bool SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags) { return ::SetWindowPos(m_hWnd, after, x, y, w, h, flags) != FALSE; }
    RECT GetClientRect() const { RECT r{}; ::GetClientRect(m_hWnd, &r); return r; }
    RECT GetWindowRect() const { RECT r{}; ::GetWindowRect(m_hWnd, &r); return r; }
    void ScreenToClient(RECT& r) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2); }
    bool Invalidate(bool erase = true) { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }
    bool UpdateWindow() { return ::UpdateWindow(m_hWnd) != FALSE; }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE; }
    LRESULT SendDlgItemMessage(UINT id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendDlgItemMessageW(m_hWnd, int(id), msg, wp, lp); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms) { return ::SetTimer(m_hWnd, id, ms, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != FALSE; }
    bool DestroyWindow();

    // The message map: handles a message and returns true, or returns false to leave it to the
    // default. BEGIN_MESSAGE_MAP (afx/MessageMap.h) writes it.
    virtual bool ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // A notification the parent reflected back to this control (WM_NOTIFY, WM_COMMAND,
    // WM_DRAWITEM, WM_CTLCOLOR*); true when the control's map took it.
    virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    // The default handling of the message being dispatched now.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after the window's last message; a self-owning window deletes itself here.
    virtual void PostNcDestroy() {}

    // Runs the map for one message, catching what a handler throws so that no exception
    // unwinds through the system's code. False: not handled.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Offers a parent's notification to the afx object of the child that sent it.
    static bool ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Ties this object to a window so that FromHandlePermanent finds it, and unties it.
    void BindObject(HWND hwnd);
    static void UnbindObject(HWND hwnd);

    struct CurrentMessage { UINT msg; WPARAM wp; LPARAM lp; };
    CurrentMessage m_current{};

private:
    bool m_subclassed = false;
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

}  // namespace afx
