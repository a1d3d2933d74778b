// Picture control that leaves out every pixel of pure red, so the dialog shows through.
#include "netsetter/TransparentStatic.h"
#include "afx/Gdi.h"

BEGIN_MESSAGE_MAP(CTransparentStatic, afx::CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CTransparentStatic::OnPaint()
{
    HBITMAP picture = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    if (!picture) {
        Default();
        return;
    }
    RECT rc = GetClientRect();
    int w = rc.right, h = rc.bottom;
    afx::CPaintDC dc(m_hWnd);

    // The picture on magenta, the size of the control.
    afx::CMemoryDC colourDC(dc);
    afx::CBitmap colour;
    colour.Attach(CreateCompatibleBitmap(dc, w, h));
    afx::CSelectObject selColour(colourDC, colour);
    afx::CBrush magenta;
    magenta.CreateSolidBrush(RGB(255, 0, 255));
    FillRect(colourDC, &rc, magenta);
    {
        afx::CMemoryDC pictureDC(dc);
        afx::CSelectObject selPicture(pictureDC, picture);
        BitBlt(colourDC, 0, 0, w, h, pictureDC, 0, 0, SRCCOPY);
    }

    // Mask: 1 where the key colour is, 0 elsewhere.
    afx::CMemoryDC maskDC(dc);
    afx::CBitmap mask;
    mask.Attach(CreateBitmap(w, h, 1, 1, nullptr));
    afx::CSelectObject selMask(maskDC, mask);
    COLORREF oldBack = SetBkColor(colourDC, m_crKey);
    BitBlt(maskDC, 0, 0, w, h, colourDC, 0, 0, SRCCOPY);
    SetBkColor(colourDC, oldBack);

    // Where the mask is 1 the screen stays, where it is 0 the picture is copied.
    if (MaskBlt(dc, 0, 0, w, h, colourDC, 0, 0, mask, 0, 0, 0xCCAA0020))
        return;
    afx::CMemoryDC composeDC(dc);
    afx::CBitmap compose;
    compose.Attach(CreateCompatibleBitmap(dc, w, h));
    afx::CSelectObject selCompose(composeDC, compose);
    BitBlt(composeDC, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    BitBlt(composeDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    BitBlt(colourDC, 0, 0, w, h, maskDC, 0, 0, 0x220326);
    BitBlt(composeDC, 0, 0, w, h, colourDC, 0, 0, SRCPAINT);
    BitBlt(dc, 0, 0, w, h, composeDC, 0, 0, SRCCOPY);
}
