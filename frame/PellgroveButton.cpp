// Picture push button of the skinned pages: its normal picture until the mouse is over it,
// then the picture of its state (pressed, focused, disabled).
#include "frame/PellgroveButton.h"
#include "afx/BitmapResource.h"
#include <commctrl.h>

BEGIN_MESSAGE_MAP(CPellgroveButton, afx::CBitmapButton)
    ON_WM_SETCURSOR()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CPellgroveButton::CPellgroveButton() = default;
CPellgroveButton::~CPellgroveButton() = default;

void CPellgroveButton::SetBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    m_normal.DeleteObject();
    SendMessage(BM_SETSTYLE, WPARAM((GetStyle() & 0xFFFF) | BS_OWNERDRAW), TRUE);
    if (!m_normal.Attach(afx::LoadBitmapResource(normal)))
        return;
    m_normal.GetBitmap(m_bmNormal);
    SizeToBitmap();
    LoadBitmaps(normal, selected, focus, disabled);
}

BOOL CPellgroveButton::LoadBitmapFiles(const wchar_t* normal, const wchar_t* selected, const wchar_t* focus,
                                       const wchar_t* disabled)
{
    SendMessage(BM_SETSTYLE, WPARAM((GetStyle() & 0xFFFF) | BS_OWNERDRAW), TRUE);
    m_bFromFiles = true;
    m_strFailedFile.clear();
    for (auto& b : m_files)
        b.DeleteObject();
    m_nFiles = 0;
    const wchar_t* names[] = {normal, selected, focus, disabled};
    for (const wchar_t* name : names) {
        HANDLE image = name ? ::LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)
                            : nullptr;
        BITMAP bm{};
        if (!image || !::GetObjectW(image, sizeof(bm), &bm)) {
            if (image)
                ::DeleteObject(image);
            m_strFailedFile = name ? name : L"";
            SizeToBitmap(0);  // a button whose first picture loaded still takes its size
            return FALSE;
        }
        m_files[m_nFiles].Attach(static_cast<HBITMAP>(image));
        m_bmFiles[m_nFiles++] = bm;
    }
    SizeToBitmap(0);
    return TRUE;
}

void CPellgroveButton::ResizeTo(const BITMAP& bm)
{
    if (!m_hWnd || bm.bmWidth == 0 || bm.bmHeight == 0)
        return;
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow();
}

void CPellgroveButton::SizeToBitmap()
{
    ResizeTo(m_bmNormal);
}

void CPellgroveButton::SizeToBitmap(int index)
{
    if (index >= 0 && index < m_nFiles)
        ResizeTo(m_bmFiles[index]);
}

void CPellgroveButton::MoveTo(int x, int y, bool repaint)
{
    RECT r = GetWindowRect();
    MoveWindow(x, y, r.right - r.left, r.bottom - r.top, repaint);
}

void CPellgroveButton::DrawItem(DRAWITEMSTRUCT* item)
{
    if (m_bFromFiles) {
        int index = 0;
        if (m_bHovering) {
            if (item->itemState & ODS_SELECTED)
                index = 1;
            if (item->itemState & ODS_FOCUS)
                index = 2;
            if (item->itemState & (ODS_GRAYED | ODS_DISABLED))
                index = 3;
        }
        if (index < m_nFiles)
            PaintBitmap(item, m_files[index]);
        return;
    }
    if (m_bHovering)
        afx::CBitmapButton::DrawItem(item);
    else
        PaintBitmap(item, m_normal);  // pressed, focused or disabled look the same until hovered
}

BOOL CPellgroveButton::OnSetCursor(HWND, UINT, UINT)
{
    SetFocus();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateWindow();
    if (!m_bHovering) {
        // One leave notification per visit; OnMouseLeave ends the visit.
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
        m_bHovering = 1;
    }
    return BOOL(Default());
}

LRESULT CPellgroveButton::OnMouseLeave()
{
    m_bHovering = 0;
    UpdateWindow();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}
