// Owner-drawn push button showing one of four bitmaps by its state (normal, selected, focus, disabled).
#pragma once
#include "afx/Button.h"
#include "afx/Gdi.h"
#include "afx/MessageMap.h"

namespace afx {

class CBitmapButton : public CButton {
public:
    // Loads the state bitmaps of the resource language; id 0 means none. False when the normal
    // one is missing. The button must have BS_OWNERDRAW for the pictures to show.
    bool LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    // Resizes the button to its normal bitmap, keeping its place.
    void SizeToContent();

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;

protected:
    // Paints the bitmap of the item's state: selected, else focus, else disabled, else normal;
    // a state without a bitmap shows the normal one.
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    // Copies `bitmap` from its top-left corner into the item rectangle at the rectangle's size.
    static void PaintBitmap(const DRAWITEMSTRUCT* item, HBITMAP bitmap);
    DECLARE_MESSAGE_MAP()
};

}  // namespace afx
