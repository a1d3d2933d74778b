// "Please wait." window with a progress bar, shown while files are copied or pictures loaded.
#include "frame/PellgroveWait.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"

PellgroveWait::PellgroveWait(HWND parent) : afx::CDialog(IDD_PELLGROVE_WAIT, parent) {}

BEGIN_MESSAGE_MAP(PellgroveWait, afx::CDialog)
    ON_COMMAND(IDC_WAIT_TEXT, OnWaitText)
END_MESSAGE_MAP()

void PellgroveWait::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Text(pDX, IDC_WAIT_TEXT, m_strText);
    afx::DDX_Control(pDX, IDC_WAIT_PROGRESS, m_progress);
}

bool PellgroveWait::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    m_strText = afx::LoadStr(IDS_PLEASE_WAIT);
    UpdateData(false);
    m_progress.SetRange(0, 9);
    return true;
}
