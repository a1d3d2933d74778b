// The last step of a normal-mode quick setup: support files, desktop shortcuts, manual copy.
#include "wizard/QuickCompletion.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "frame/PellgroveWait.h"
#include "resources/pellgrove/resource.h"
#include "wizard/PellgroveApp.h"

void FatalIllegalConfig()
{
    afx::AfxMessageBox(IDS_CONFIG_ILLEGAL, IDS_ERROR, MB_OK, true);
    ::ExitProcess(1);
}

int CompleteQuickSetup(HWND page, const ShortcutOwner& owner, int shareShortcut, int settingShortcut,
                       int manualTicked)
{
    CPellgroveApp& app = GetPellgroveApp();
    const ProductConfig& config = g_productConfig;
    PellgroveWait wait(nullptr);
    wait.Create();
    wait.ShowWindow(SW_SHOW);
    auto progress = [&wait](int pos) {
        if (wait.IsWindow())
            wait.m_progress.SetPos(pos);
    };

    wchar_t folder[MAX_PATH] = {};
    app.InstallGuideFiles(folder);
    if (shareShortcut || settingShortcut) {
        wchar_t finder[MAX_PATH] = {};
        app.InstallFinderFiles(folder, finder);
        std::wstring shareSuffix = afx::LoadStr(IDS_SHARE_LINK_SUFFIX);
        std::wstring settingSuffix = afx::LoadStr(IDS_SETTING_LINK_SUFFIX);
        progress(2);
        if (!config.ProductIcon[0] || !config.WebSetupIcon[0])
            FatalIllegalConfig();
        auto failed = [page] { afx::AfxMessageBox(IDS_SHORTCUT_FAILED, IDS_ERROR, MB_OK, false, page); };
        if (!CreateDesktopShortcuts(owner, shareShortcut, settingShortcut, 0, shareSuffix.c_str(),
                                    settingSuffix.c_str(), config.ProductIcon, config.WebSetupIcon, finder, finder))
            failed();
        if (FilePart(config.Vantry2Icon).empty())
            FatalIllegalConfig();
        if (config.Vantry2IconFlag &&
            !CreateDesktopShortcuts(owner, 0, 0, 1, L"", L"", L"", config.Vantry2Icon, L"", kRemoteAccessAddress))
            failed();
    }
    progress(8);

    int manualCopy = 0;
    if (manualTicked) {
        manualCopy = 1;
        CopyManualToDesktop(app.m_mapBase, app.m_mapLang, config.ProgramFolder, &CPellgroveApp::FatalMissingFiles);
    }
    progress(5);
    wait.DestroyWindow();
    if (shareShortcut || settingShortcut || manualCopy)
        ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW);
    return manualCopy;
}
