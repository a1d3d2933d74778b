// Image push button of the network setter's dialogs: four pictures, hand cursor, idle while busy.
#include "netsetter/HoverButton.h"
#include "afx/BitmapResource.h"
#include "afx/Gdi.h"
#include "afx/WinApp.h"
#include "netsetter/QuentariRes.h"

BEGIN_MESSAGE_MAP(CHoverButton, afx::CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    if (msg == AFX_REFLECT_BASE + WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        lResult = TRUE;
        return true;
    }
END_MESSAGE_MAP()

CHoverButton::~CHoverButton()
{
    FreeBitmaps();
}

void CHoverButton::FreeBitmaps()
{
    for (HBITMAP& b : m_bitmaps) {
        if (b)
            DeleteObject(b);
        b = nullptr;
    }
}

bool CHoverButton::Create(HWND parent, UINT id, const RECT& rect, UINT, UINT, UINT, UINT)
{
    m_nID = id;
    m_hHand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    HWND h = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(UINT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    return h && (afx::CWnd::SubclassWindow)(h);
}

bool CHoverButton::LoadButtonBitmaps(UINT, HWND, UINT normal, UINT pressed, UINT focused, UINT disabled)
{
    FreeBitmaps();
    const UINT ids[4] = {normal, pressed, focused, disabled};
    for (int i = 0; i < 4; ++i)
        m_bitmaps[i] = ids[i] ? afx::LoadBitmapResource(ids[i]) : nullptr;
    BITMAP bm = {};
    if (!m_bitmaps[0] || !GetObjectW(m_bitmaps[0], sizeof(bm), &bm))
        return false;
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
    return true;
}

bool CHoverButton::MainDialogBusy()
{
    afx::CWinApp* app = afx::AfxGetApp();
    auto* owner = app ? dynamic_cast<CHoverButtonOwner*>(app->m_pMainWnd) : nullptr;
    return owner && owner->ButtonsWait();
}

void CHoverButton::OnMouseMove(UINT, POINT)
{
    SetCursor(MainDialogBusy() ? LoadCursorA(nullptr, IDC_WAIT) : m_hHand);
    Default();
}

BOOL CHoverButton::OnSetCursor(HWND, UINT, UINT)
{
    // Keeps the class's arrow from flickering in between mouse moves.
    SetCursor(MainDialogBusy() ? LoadCursorA(nullptr, IDC_WAIT) : m_hHand);
    return TRUE;
}

void CHoverButton::OnLButtonDown(UINT, POINT)
{
    if (MainDialogBusy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return;
    }
    Default();
}

void CHoverButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    HBITMAP pick = m_bitmaps[0];
    if ((item.itemState & ODS_SELECTED) && m_bitmaps[1])
        pick = m_bitmaps[1];
    else if ((item.itemState & ODS_FOCUS) && m_bitmaps[2])
        pick = m_bitmaps[2];
    else if ((item.itemState & ODS_DISABLED) && m_bitmaps[3])
        pick = m_bitmaps[3];
    if (!pick)
        return;
    afx::CMemoryDC mem(item.hDC);
    afx::CSelectObject sel(mem, pick);
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, SRCCOPY);
}

bool CHoverButton::ReplaceDlgItem(HWND dialog, UINT id, UINT normal, UINT pressed, UINT focused,
                                  UINT disabled, int width)
{
    HWND placeholder = ::GetDlgItem(dialog, int(id));
    if (!placeholder)
        return false;
    RECT r;
    ::GetWindowRect(placeholder, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    HWND after = ::GetWindow(placeholder, GW_HWNDPREV);
    ::DestroyWindow(placeholder);
    if (width)
        r.left = r.right - width;
    Create(dialog, id, r, normal, pressed, focused, disabled);
    LoadButtonBitmaps(id, dialog, normal, pressed, focused, disabled);
    // Keeps the tab order of the template.
    ::SetWindowPos(m_hWnd, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}
