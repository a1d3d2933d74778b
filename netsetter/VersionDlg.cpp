// The version box that Alt+V opens from the main dialog.
#include "netsetter/VersionDlg.h"
#include "afx/BitmapResource.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/QuentariRes.h"

CVersionDlg::CVersionDlg(HWND parent) : afx::CDialog(IDD_VERSION, parent) {}

bool CVersionDlg::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    SetDlgItemText(IDC_VERSION_TEXT, afx::LoadStr(IDS_VERSION));
    SetDlgItemText(IDC_VERSION_NOTICE, afx::LoadStr(IDS_VERSION_NOTICE));
    if (m_picture.Attach(afx::LoadBitmapResource(IDB_VERSION_PICTURE)))
        SendDlgItemMessage(IDC_VERSION_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(HBITMAP(m_picture)));
    return true;
}
