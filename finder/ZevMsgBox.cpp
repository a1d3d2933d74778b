// The searching box: the finder's one visible window while a search runs, with its Stop button.
#include "finder/ZevMsgBox.h"
#include "finder/LorrickRes.h"

ZevMsgBox::ZevMsgBox(HWND owner) : afx::CDialog(IDD_SEARCHING), m_hOwner(owner) {}

bool ZevMsgBox::Create()
{
    return afx::CDialog::Create(IDD_SEARCHING, m_hOwner);
}

void ZevMsgBox::OnCancel()
{
    ::SendMessageW(m_hOwner, kMsgStopPressed, 0, 0);
    if (m_hWnd)
        DestroyWindow();
}

void ZevMsgBox::PostNcDestroy()
{
    ::SendMessageW(m_hOwner, kMsgBoxGone, 0, reinterpret_cast<LPARAM>(this));
    delete this;
}
