// "Please wait." window with a progress bar, shown while files are copied or pictures loaded.
#pragma once
#include "afx/DataExchange.h"
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "afx/ProgressCtrl.h"
#include <string>

class PellgroveWait : public afx::CDialog {
public:
    explicit PellgroveWait(HWND parent = nullptr);

    std::wstring m_strText;
    afx::CProgressCtrl m_progress;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnWaitText() {}
    DECLARE_MESSAGE_MAP()
};
