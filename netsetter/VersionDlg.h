// The version box that Alt+V opens from the main dialog.
#pragma once
#include "afx/Dialog.h"
#include "afx/Gdi.h"

class CVersionDlg : public afx::CDialog {
public:
    explicit CVersionDlg(HWND parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    afx::CBitmap m_picture;
};
