// The main menu: the wizard's first window, open for the whole run.
#include "wizard/PellgroveDialog_Main.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "wizard/PageControls.h"
#include "wizard/PellgroveApp.h"
#include "resources/pellgrove/resource.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CPellgroveDialog_Main, CPellgroveDialog)
    ON_BN_CLICKED(IDC_MAIN_FOLDER, OnOpenFolder)
    ON_BN_CLICKED(IDC_MAIN_SUPPORT, OnSupportSoftware)
    ON_BN_CLICKED(IDC_MAIN_QUICK, OnClickedQuick)
END_MESSAGE_MAP()

CPellgroveDialog_Main::CPellgroveDialog_Main(HWND parent) : CPellgroveDialog(IDD_PELLGROVE_MAIN, parent) {}

int CPellgroveDialog_Main::IsUnsupportedOS()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info))
        return 0;
#pragma GCC diagnostic pop
    if (info.dwPlatformId == VER_PLATFORM_WIN32s || info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return 1;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion < 5 ? 1 : 0;
}

void CPellgroveDialog_Main::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDOK, m_btnClose);
    afx::DDX_Control(pDX, IDC_MAIN_SUPPORT, m_btnSupport);
    afx::DDX_Control(pDX, IDC_MAIN_FOLDER, m_btnFolder);
    afx::DDX_Control(pDX, IDC_MAIN_WIZARD, m_btnWizard);
    afx::DDX_Control(pDX, IDC_MAIN_QUICK, m_btnQuick);
    afx::DDX_Check(pDX, IDC_MAIN_AUTORUN, m_bAutorun);
    afx::DDX_Text(pDX, IDC_MAIN_USB_TEXT, m_strUsbText);
}

bool CPellgroveDialog_Main::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    if (IsUnsupportedOS()) {
        afx::MessageBoxRes(IDS_UNSUPPORTED_OS, IDS_ERROR, MB_OK, m_hWnd);
        EndDialog(IDCANCEL);
    }
    const bool usb = g_productConfig.UsbMode != 0;
    HWND self = m_hWnd;
    // Labels are placed, shown or hidden before the skin collects the ones it draws.
    PlaceControl(self, IDC_MAIN_INTRO, 24, 84, 552, 26);
    if (usb) {
        SetBackground(IDB_MAIN_USB_BACKGROUND);
        m_strUsbText = FormatArg(afx::LoadStr(IDS_USB_MENU_TEXT), g_productConfig.Dorvane);
        PlaceControl(self, IDC_MAIN_USB_TEXT, 24, 280, 552, 26);
    } else {
        SetBackground(IDB_MAIN_BACKGROUND);
        ShowControl(self, IDC_MAIN_USB_TEXT, false);
    }
    ApplySkin();

    // The USB-stick picture set of the quick button is not shown: both modes use this one.
    m_btnQuick.SetBitmaps(IDB_QUICK, IDB_QUICK_SELECTED, IDB_QUICK_FOCUSED, IDB_QUICK_DISABLED);
    m_btnSupport.SetBitmaps(IDB_SUPPORT, IDB_SUPPORT_SELECTED, IDB_SUPPORT_FOCUSED, IDB_SUPPORT_DISABLED);
    m_btnFolder.SetBitmaps(IDB_FOLDER, IDB_FOLDER_SELECTED, IDB_FOLDER_FOCUSED, IDB_FOLDER_DISABLED);
    m_btnClose.SetBitmaps(IDB_CLOSE, IDB_CLOSE_SELECTED, IDB_CLOSE_FOCUSED, IDB_CLOSE_DISABLED);

    m_btnQuick.MoveTo(80, 115, true);
    m_btnWizard.MoveTo(40, 40, true);
    m_btnSupport.MoveTo(15, 315, true);
    m_btnSupport.ShowWindow(g_productConfig.Show_SupportSoft ? SW_SHOW : SW_HIDE);
    m_btnFolder.MoveTo(230, 315, true);
    m_btnFolder.ShowWindow(g_productConfig.Show_USBStorage ? SW_SHOW : SW_HIDE);
    m_btnClose.MoveTo(445, 315, true);
    m_btnWizard.ShowWindow(SW_HIDE);

    if (usb) {
        ShowControl(self, IDC_MAIN_AUTORUN, false);
    } else {
        ShowControl(self, IDC_MAIN_AUTORUN, true);
        PlaceControl(self, IDC_MAIN_AUTORUN, 300, 290, 280, 20);
    }
    SetWindowText(ApplicationTitle());

    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    size_t cut = path.find(L'\\');
    m_strDriveRoot = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
    m_strProgramFile = cut == std::wstring::npos ? path : path.substr(cut + 1);

    if (!usb) {
        m_strAutorunFile = m_strDriveRoot + L"Autorun.inf";
        wchar_t value[MAX_PATH] = {};
        ::GetPrivateProfileStringW(L"Autorun", L"open", L"", value, MAX_PATH, m_strAutorunFile.c_str());
        m_bAutorun = value[0] ? 1 : 0;
    }

    m_btnFolder.EnableWindow(g_productConfig.Show_USBStorage && !usb);

    m_strSupportSoftware = m_strDriveRoot;
    bool supportEnabled = false;
    if (g_productConfig.Show_SupportSoft && !usb) {
        std::wstring relative = MapValue(GetPellgroveApp().m_mapBase, L"SupportSoftPath");
        if (!relative.empty()) {
            supportEnabled = true;
            m_strSupportSoftware = m_strDriveRoot + relative;
        }
    }
    m_btnSupport.EnableWindow(supportEnabled);

    UpdateData(false);
    InvalidateLabels();
    return true;
}

void CPellgroveDialog_Main::OnOK()
{
    UpdateData(true);
    if (!g_productConfig.UsbMode) {
        const wchar_t* file = m_strAutorunFile.c_str();
        ::WritePrivateProfileStringW(L"Autorun", L"open", m_bAutorun ? m_strProgramFile.c_str() : nullptr, file);
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
    }
    EndDialog(IDOK);
}

void CPellgroveDialog_Main::OnOpenFolder()
{
    ::ShellExecuteW(nullptr, L"open", m_strDriveRoot.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CPellgroveDialog_Main::OnSupportSoftware()
{
    if (::GetFileAttributesW(m_strSupportSoftware.c_str()) == INVALID_FILE_ATTRIBUTES) {
        afx::MessageBoxRes(IDS_SUPPORT_SOFT_MISSING, IDS_ERROR, MB_OK, m_hWnd);
        return;
    }
    ::ShellExecuteW(nullptr, L"open", m_strSupportSoftware.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CPellgroveDialog_Main::ShowError(UINT textId)
{
    afx::MessageBoxRes(textId, IDS_ERROR, MB_OK, m_hWnd);
}
