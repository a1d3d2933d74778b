// The wizard's main window: a plain IDD_PELLGROVE_MAIN dialog until the skinned main menu page replaces it.
#pragma once
#include "afx/Dialog.h"
#include "afx/MessageMap.h"

class CPellgroveMenu : public afx::CDialog {
public:
    explicit CPellgroveMenu(HWND parent);

protected:
    bool OnInitDialog() override;
};
