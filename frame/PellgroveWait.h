// "Please wait." window with a progress bar, shown while files are copied or pictures loaded.
#pragma once
#include "afx/DataExchange.h"
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "afx/ProgressCtrl.h"
#include <string>

// The resource ids of one program's wait dialog: the wizard's are the default.
struct PellgroveWaitIds {
    UINT dialog, text, progress, pleaseWait;
    int progressHigh;  // the bar runs from 0 to this
};
extern const PellgroveWaitIds kWizardWaitIds;

class PellgroveWait : public afx::CDialog {
public:
    explicit PellgroveWait(HWND parent = nullptr, const PellgroveWaitIds& ids = kWizardWaitIds);

    std::wstring m_strText;
    afx::CProgressCtrl m_progress;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnWaitText() {}
    DECLARE_MESSAGE_MAP()

private:
    PellgroveWaitIds m_ids;
};
