#include "finder/ZevMsgBox.h"
#include "finder/LorrickRes.h"
#include "finder/ZevseekerDlg.h"

ZevMsgBox::ZevMsgBox(CZevseekerDlg* parent) : afx::CDialog(IDD_SEARCHING), m_pParent(parent) {}

bool ZevMsgBox::Create()
{
    return afx::CDialog::Create(IDD_SEARCHING, m_pParent->m_hWnd);
}

void ZevMsgBox::OnCancel()
{
    m_pParent->StopAndEnd();
    if (m_hWnd)
        DestroyWindow();
}

void ZevMsgBox::PostNcDestroy()
{
    m_pParent->OnMsgBoxGone();
    delete this;
}
