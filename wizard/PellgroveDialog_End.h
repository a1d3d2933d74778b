// The end page: the last page after a completed quick setup, two texts and a close button.
#pragma once
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "afx/MessageMap.h"
#include <string>

class CPellgroveDialog_End : public CPellgroveDialog {
public:
    // The page rectangle is taken but not used: the end page opens centred.
    CPellgroveDialog_End(HWND parent, RECT* pageRect);

    void SetTexts();

    CPellgroveButton m_btnClose;
    std::wstring m_strFirst;
    std::wstring m_strSecond;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnClickedClose();

    DECLARE_MESSAGE_MAP()
};
