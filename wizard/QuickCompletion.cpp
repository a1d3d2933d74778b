// The last step of a normal-mode quick setup: support files, desktop shortcuts, manual copy.
#include "wizard/QuickCompletion.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "frame/PellgroveWait.h"
#include "resources/pellgrove/resource.h"
#include "wizard/PellgroveApp.h"
#include "wizard/QuickSetupContext.h"

namespace {

ShortcutOwner OwnerOf(const QuickSetupContext& context)
{
    return {context.settings.name, context.paths.commonProductFolder};
}

}  // namespace

int QuickSetupContext::CreateDesktopShortcuts(int share, int setting, int remote, const wchar_t* shareSuffix,
                                              const wchar_t* settingSuffix, const wchar_t* shareIcon,
                                              const wchar_t* settingIcon, const wchar_t* shareTarget,
                                              const wchar_t* settingTarget)
{
    return ::CreateDesktopShortcuts(OwnerOf(*this), share, setting, remote, shareSuffix, settingSuffix, shareIcon,
                                    settingIcon, shareTarget, settingTarget);
}

int QuickSetupContext::CreateShellShortcut(const wchar_t* target, const wchar_t* linkPath, const wchar_t* iconPath,
                                           const wchar_t* name, int mode)
{
    return ::CreateShellShortcut(OwnerOf(*this), target, linkPath, iconPath, name, mode);
}

void FatalIllegalConfig()
{
    afx::AfxMessageBox(IDS_CONFIG_ILLEGAL, MB_OK | MB_SETFOREGROUND);
    ::ExitProcess(1);
}

int CompleteQuickSetup(HWND page, QuickSetupContext& context, int shareShortcut, int settingShortcut,
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
        auto failed = [page] { afx::MessageBoxRes(IDS_SHORTCUT_FAILED, IDS_ERROR, MB_OK, page); };
        if (!context.CreateDesktopShortcuts(shareShortcut, settingShortcut, 0, shareSuffix.c_str(),
                                    settingSuffix.c_str(), config.ProductIcon, config.WebSetupIcon, finder, finder))
            failed();
        if (FilePart(config.Vantry2Icon).empty())
            FatalIllegalConfig();
        if (config.Vantry2IconFlag &&
            !context.CreateDesktopShortcuts(0, 0, 1, L"", L"", L"", config.Vantry2Icon, L"", kRemoteAccessAddress))
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
