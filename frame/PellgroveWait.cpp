// "Please wait." window with a progress bar, shown while files are copied or pictures loaded.
#include "frame/PellgroveWait.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"

const PellgroveWaitIds kWizardWaitIds = {IDD_PELLGROVE_WAIT, IDC_WAIT_TEXT, IDC_WAIT_PROGRESS, IDS_PLEASE_WAIT, 9};

PellgroveWait::PellgroveWait(HWND parent, const PellgroveWaitIds& ids)
    : afx::CDialog(ids.dialog, parent), m_ids(ids)
{
}

BEGIN_MESSAGE_MAP(PellgroveWait, afx::CDialog)
    ON_COMMAND(m_ids.text, OnWaitText)
END_MESSAGE_MAP()

void PellgroveWait::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Text(pDX, m_ids.text, m_strText);
    afx::DDX_Control(pDX, m_ids.progress, m_progress);
}

bool PellgroveWait::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    m_strText = afx::LoadStr(m_ids.pleaseWait);
    UpdateData(false);
    m_progress.SetRange(0, m_ids.progressHigh);
    return true;
}
