// The quick setup as the main menu runs it: checks, the page loop, the settings file and the guide.
#include "wizard/PellgroveDialog_Main.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "wizard/PageControls.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_Adapter.h"
#include "wizard/PellgroveDialog_End.h"
#include "wizard/PellgroveDialog_Quick.h"
#include "wizard/DesktopShortcuts.h"
#include "wizard/PellgroveDialog_QuickConfirm.h"
#include "wizard/PellgroveDialog_QuickConfirm_Usb.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"
#include "wizard/SupportFiles.h"
#include "resources/pellgrove/resource.h"
#include <shellapi.h>
#include <memory>

int CPellgroveDialog_Main::PrepareQuickSetup(QuickSetupContext& context)
{
    const bool usb = g_productConfig.UsbMode != 0;
    CDeviceSettings& record = context.settings;
    record.kind = usb ? 1 : 0;
    if (!usb && !context.SettingsFileExists()) {
        ShowError(IDS_SETTINGS_FILE_MISSING);
        return 0;
    }
    record.spindown = g_productConfig.PowerSavingDefault;
    // In USB-stick mode a missing or unmarked file leaves the defaults, and values that were
    // read stay even when they do not validate.
    if (!record.Read(context.paths.settingsFilePath.c_str()) && !usb) {
        ShowError(IDS_SETTINGS_FILE_ILLEGAL);
        return 0;
    }
    switch (context.ChooseAdapterMode()) {
    case 0:
        ShowError(IDS_NO_ADAPTER);
        return 0;
    case 1: {
        CPellgroveDialog_Adapter page(m_hWnd);
        page.m_pContext = &context;
        if (page.DoModal() == IDCANCEL)
            return 0;
        break;
    }
    default:
        break;
    }
    if (!context.DetermineAddress()) {
        ShowError(IDS_NO_ADDRESS);
        return 0;
    }
    return 1;
}

INT_PTR CPellgroveDialog_Main::RunPage(int page, QuickSetupContext* context, RECT* pageRect)
{
    switch (page) {
    case kPageConfirm:
        if (g_productConfig.UsbMode) {
            CPellgroveDialog_QuickConfirm_Usb dialog(m_hWnd, pageRect);
            dialog.m_pContext = context;
            return dialog.DoModal();
        }
        {
            CPellgroveDialog_QuickConfirm dialog(m_hWnd, pageRect);
            dialog.m_pContext = context;
            return dialog.DoModal();
        }
    case kPageSettings: {
        CPellgroveDialog_Quick dialog(m_hWnd, pageRect);
        dialog.m_pContext = context;
        return dialog.DoModal();
    }
    case kPageEnd: {
        CPellgroveDialog_End dialog(m_hWnd, pageRect);
        dialog.m_pContext = context;
        return dialog.DoModal();
    }
    default:
        return 0;
    }
}

void CPellgroveDialog_Main::OnClickedQuick()
{
    auto context = std::make_unique<QuickSetupContext>();
    if (!PrepareQuickSetup(*context))
        return;
    StoreDeviceName(context->settings.name.c_str());

    m_rcPage = RECT{};
    ShowWindow(SW_HIDE);
    const bool done = RunPageLoop([&](int page) { return RunPage(page, context.get(), &m_rcPage); },
                                  g_productConfig.UsbMode != 0, g_productConfig.Show_Guide != 0);
    if (m_rcPage.left || m_rcPage.top || m_rcPage.right || m_rcPage.bottom) {
        RECT own = GetWindowRect();
        MoveWindow(m_rcPage.left, m_rcPage.top, own.right - own.left, own.bottom - own.top, true);
    }
    ShowWindow(SW_SHOWNORMAL);
    if (!done)
        return;

    if (!context->WriteSettings())
        ShowError(IDS_SETTINGS_NOT_SAVED);
    if (g_productConfig.Guide_Url[0])
        ::ShellExecuteW(m_hWnd, L"open", g_productConfig.Guide_Url, nullptr, nullptr, SW_RESTORE);
    else if (g_productConfig.Guide_File[0])
        LaunchGuide();
    EndDialog(IDCANCEL);
}

void CPellgroveDialog_Main::LaunchGuide()
{
    std::wstring guideFile = g_productConfig.Guide_File;
    size_t slash = guideFile.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? guideFile : guideFile.substr(slash + 1);
    if (!name.empty())
        ::CharUpperBuffW(&name[0], DWORD(name.size()));
    ShowWindow(SW_HIDE);

    std::wstring parameters;
    if (name == L"MARROWICK.EXE") {
        int mode = GuideStartMode(ShareShortcutChecked, SettingShortcutChecked, ManualCopyChecked, g_productConfig.UsbMode);
        parameters = std::wstring(g_productConfig.Model) + (mode ? L" 1" : L" 0");
    }
    // Without the support folder the path would name a program in the root of the current drive.
    std::wstring directory = SupportFolderPath();
    std::wstring file = directory + L"\\Guide\\" + guideFile;

    WIN32_FIND_DATAW found;
    HANDLE search = directory.empty() ? INVALID_HANDLE_VALUE : ::FindFirstFileW(file.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
        // Only from the folder this run made and holds.
        if (!SupportFolderStillHeld(directory))
            FatalUnsafeSupportFolder(directory);
        ::ShellExecuteW(nullptr, L"open", file.c_str(), parameters.c_str(), directory.c_str(), SW_SHOWNORMAL);
        ReleaseSupportFolder(directory);
        ShowWindow(SW_HIDE);
        EndDialog(IDCANCEL);
        return;
    }
    // The settings file is already written; only the guide (or the folder it is in) is missing.
    afx::AfxMessageBox(IDS_INTERNAL_ERROR, MB_OK | MB_SETFOREGROUND, m_hWnd);
    ::ExitProcess(1);
}
