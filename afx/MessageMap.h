// Message maps: macros that write a class's ProcessWindowMessage as one chain of if tests.
//
//   class CMyDialog : public afx::CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDialog, afx::CDialog)
//       ON_BN_CLICKED(IDC_GO, OnGo)
//       ON_WM_PAINT()
//   END_MESSAGE_MAP()
//
// An entry that matches calls its handler and ends the chain; what no entry takes goes to the
// base class's map. Each entry's comment gives the handler's signature.
#pragma once
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#define DECLARE_MESSAGE_MAP() \
public: \
    bool ProcessWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    bool theClass::ProcessWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) \
    { \
        typedef baseClass TheBaseClass; \
        (void)wParam; (void)lParam;

#define END_MESSAGE_MAP() \
        return TheBaseClass::ProcessWindowMessage(msg, wParam, lParam, lResult); \
    }

// Reflected notifications arrive at the control with this offset (see CWnd::OnChildNotify).
#define AFX_REFLECT_BASE 0x2000

// LRESULT OnMessage(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, fn) \
    if (msg == (message)) { lResult = fn(wParam, lParam); return true; }

// void OnCommand()  -- a button click, menu item or accelerator with this id
#define ON_COMMAND(id, fn) \
    if (msg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0) { fn(); lResult = 0; return true; }

// void OnControl()  -- a control's notification code `notifyCode` from control `id`
#define ON_CONTROL(notifyCode, id, fn) \
    if (msg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notifyCode)) { fn(); lResult = 0; return true; }

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

// void OnNotify(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(notifyCode, id, fn) \
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == UINT_PTR(id) && \
        reinterpret_cast<NMHDR*>(lParam)->code == UINT(notifyCode)) { \
        lResult = 0; fn(reinterpret_cast<NMHDR*>(lParam), &lResult); return true; }

// void OnNotify(NMHDR* pNMHDR, LRESULT* pResult)  -- a control's own notification sent back by its parent
#define ON_NOTIFY_REFLECT(notifyCode, fn) \
    if (msg == AFX_REFLECT_BASE + WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UINT(notifyCode)) { \
        lResult = 0; fn(reinterpret_cast<NMHDR*>(lParam), &lResult); return true; }

// int OnCreate(CREATESTRUCTW* cs)  -- -1 stops the creation
#define ON_WM_CREATE() \
    if (msg == WM_CREATE) { lResult = OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); return true; }

// void OnDestroy()
#define ON_WM_DESTROY() \
    if (msg == WM_DESTROY) { OnDestroy(); lResult = 0; return true; }

// void OnClose()
#define ON_WM_CLOSE() \
    if (msg == WM_CLOSE) { OnClose(); lResult = 0; return true; }

// void OnPaint()
#define ON_WM_PAINT() \
    if (msg == WM_PAINT) { OnPaint(); lResult = 0; return true; }

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() \
    if (msg == WM_TIMER) { OnTimer(UINT_PTR(wParam)); lResult = 0; return true; }

// void OnMove(int x, int y)
#define ON_WM_MOVE() \
    if (msg == WM_MOVE) { OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); lResult = 0; return true; }

// LRESULT OnNcHitTest(POINT screenPoint)
#define ON_WM_NCHITTEST() \
    if (msg == WM_NCHITTEST) { lResult = OnNcHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return true; }

// HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlColor)  -- ctlColor is the WM_CTLCOLOR* message
#define ON_WM_CTLCOLOR() \
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) { \
        lResult = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg)); \
        return true; }

// BOOL OnSetCursor(HWND window, UINT hitTest, UINT message)
#define ON_WM_SETCURSOR() \
    if (msg == WM_SETCURSOR) { lResult = OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)); return true; }

// void OnMouseMove(UINT flags, POINT point)
#define ON_WM_MOUSEMOVE() \
    if (msg == WM_MOUSEMOVE) { OnMouseMove(UINT(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); lResult = 0; return true; }

// LRESULT OnMouseLeave()
#define ON_WM_MOUSELEAVE() \
    if (msg == WM_MOUSELEAVE) { lResult = OnMouseLeave(); return true; }

// void OnLButtonDown(UINT flags, POINT point)
#define ON_WM_LBUTTONDOWN() \
    if (msg == WM_LBUTTONDOWN) { OnLButtonDown(UINT(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); lResult = 0; return true; }

// void OnLButtonUp(UINT flags, POINT point)
#define ON_WM_LBUTTONUP() \
    if (msg == WM_LBUTTONUP) { OnLButtonUp(UINT(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); lResult = 0; return true; }

// void OnDrawItem(int id, DRAWITEMSTRUCT* item)
#define ON_WM_DRAWITEM() \
    if (msg == WM_DRAWITEM) { OnDrawItem(int(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); lResult = TRUE; return true; }

// void DrawItem(DRAWITEMSTRUCT* item)  -- an owner-drawn control paints itself (reflected by its parent)
#define ON_WM_DRAWITEM_REFLECT() \
    if (msg == AFX_REFLECT_BASE + WM_DRAWITEM) { DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); lResult = TRUE; return true; }
