// The end page of the quick setup.
#include "wizard/PellgroveDialog_End.h"
#include "afx/ResourceLanguage.h"
#include "wizard/PageControls.h"
#include "resources/pellgrove/resource.h"

BEGIN_MESSAGE_MAP(CPellgroveDialog_End, CPellgroveDialog)
    ON_BN_CLICKED(IDCANCEL, OnClickedClose)
    ON_BN_CLICKED(IDC_END_FIRST_TEXT, OnNothing)
END_MESSAGE_MAP()

CPellgroveDialog_End::CPellgroveDialog_End(HWND parent, RECT*) : CPellgroveDialog(IDD_PELLGROVE_END, parent) {}

void CPellgroveDialog_End::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDCANCEL, m_btnClose);
    afx::DDX_Text(pDX, IDC_END_FIRST_TEXT, m_strFirst);
    afx::DDX_Text(pDX, IDC_END_SECOND_TEXT, m_strSecond);
}

bool CPellgroveDialog_End::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    SetBackground(IDB_END_BACKGROUND);
    // Labels are placed before the skin collects the ones it draws.
    PlaceControl(m_hWnd, IDC_END_FIRST_TEXT, 300, 100, 200, 20);
    PlaceControl(m_hWnd, IDC_END_SECOND_TEXT, 300, 200, 250, 20);
    ShowControl(m_hWnd, IDC_END_FIRST_TEXT, true);
    ShowControl(m_hWnd, IDC_END_SECOND_TEXT, true);
    ApplySkin();
    m_btnClose.SetBitmaps(IDB_CLOSE, IDB_CLOSE_SELECTED, IDB_CLOSE_FOCUSED, IDB_CLOSE_DISABLED);
    m_btnClose.MoveTo(445, 315, true);
    SetTexts();
    return true;
}

void CPellgroveDialog_End::SetTexts()
{
    m_strFirst = afx::LoadStr(IDS_FINISHED);
    m_strSecond = afx::LoadStr(IDS_CLICK_CLOSE);
    UpdateData(false);
    InvalidateLabels();
}

void CPellgroveDialog_End::OnClickedClose() { EndDialog(IDCANCEL); }
