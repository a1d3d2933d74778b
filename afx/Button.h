// Push button, check box and radio button.
#pragma once
#include "afx/Wnd.h"

namespace afx {

class CButton : public CWnd {
public:
    int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, WPARAM(state)); }
    void SetButtonStyle(UINT style, bool redraw = true) { SendMessage(BM_SETSTYLE, style, redraw); }
    UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFFFF); }
    void Click() { SendMessage(BM_CLICK); }
};

}  // namespace afx
