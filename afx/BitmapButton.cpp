// Owner-drawn push button showing one of four bitmaps by its state (normal, selected, focus, disabled).
#include "afx/BitmapButton.h"
#include "afx/BitmapResource.h"

namespace afx {

BEGIN_MESSAGE_MAP(CBitmapButton, CButton)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

bool CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    CBitmap* slots[] = {&m_bitmap, &m_bitmapSel, &m_bitmapFocus, &m_bitmapDisabled};
    UINT ids[] = {normal, selected, focus, disabled};
    for (int i = 0; i < 4; ++i) {
        slots[i]->DeleteObject();
        if (ids[i])
            slots[i]->Attach(LoadBitmapResource(ids[i]));
    }
    return m_bitmap.GetSafeHandle() != nullptr;
}

void CBitmapButton::SizeToContent()
{
    BITMAP bm{};
    if (m_hWnd && m_bitmap.GetBitmap(bm))
        SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(DRAWITEMSTRUCT* item)
{
    HBITMAP pick = m_bitmap;
    if ((item->itemState & ODS_SELECTED) && m_bitmapSel.GetSafeHandle())
        pick = m_bitmapSel;
    else if ((item->itemState & ODS_FOCUS) && m_bitmapFocus.GetSafeHandle())
        pick = m_bitmapFocus;
    else if ((item->itemState & ODS_DISABLED) && m_bitmapDisabled.GetSafeHandle())
        pick = m_bitmapDisabled;
    PaintBitmap(item, pick);
}

void CBitmapButton::PaintBitmap(const DRAWITEMSTRUCT* item, HBITMAP bitmap)
{
    if (!bitmap)
        return;
    CMemoryDC mem(item->hDC);
    CSelectObject sel(mem, bitmap);
    const RECT& r = item->rcItem;
    ::BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, SRCCOPY);
}

}  // namespace afx
