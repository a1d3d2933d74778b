// Edit control.
#pragma once
#include "afx/Wnd.h"

namespace afx {

class CEdit : public CWnd {
public:
    void LimitText(int chars) { SendMessage(EM_LIMITTEXT, WPARAM(chars)); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end)); }
    void SetReadOnly(bool readOnly = true) { SendMessage(EM_SETREADONLY, readOnly); }
    bool GetModify() const { return SendMessage(EM_GETMODIFY) != 0; }
};

}  // namespace afx
