// The wizard's main window: a plain IDD_PELLGROVE_MAIN dialog until the skinned main menu page replaces it.
#include "wizard/PellgroveMenu.h"
#include "wizard/PellgroveApp.h"
#include "resources/pellgrove/resource.h"

CPellgroveMenu::CPellgroveMenu(HWND parent) : afx::CDialog(IDD_PELLGROVE_MAIN, parent) {}

bool CPellgroveMenu::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    SetWindowText(GetPellgroveApp().m_strTitle);
    // The page texts name the product by its display name, as the menu does.
    SetDlgItemText(IDC_MAIN_PRODUCT, std::wstring(g_productConfig.Dorvane) + L"  " + g_productConfig.Model);
    return true;
}
