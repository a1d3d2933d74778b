// Progress bar control.
#pragma once
#include "afx/Wnd.h"
#include <commctrl.h>

namespace afx {

class CProgressCtrl : public CWnd {
public:
    void SetRange(int low, int high) { SendMessage(PBM_SETRANGE32, WPARAM(low), LPARAM(high)); }
    int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, WPARAM(pos))); }
    int GetPos() const { return int(SendMessage(PBM_GETPOS)); }
    void GetRange(int& low, int& high) const
    {
        PBRANGE r{};
        SendMessage(PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&r));
        low = r.iLow;
        high = r.iHigh;
    }
};

}  // namespace afx
