// Static text control.
#pragma once
#include "afx/Wnd.h"

namespace afx {

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, WPARAM(icon))); }
    HBITMAP SetBitmap(HBITMAP bmp) { return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bmp))); }
};

}  // namespace afx
