// Desktop shortcuts that start the installed finder for one device, and the manual copy.
#include "wizard/DesktopShortcuts.h"
#include <objbase.h>
#include <functional>
#include <shlobj.h>
#include <shobjidl.h>

const wchar_t kRemoteAccessAddress[] = L"http://vantry2.ostrand.example/";

namespace {

// Releases a COM interface when it goes.
template <class T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() { if (p) p->Release(); }
};

// Whether the finder takes the name back from a link's arguments: one word (it splits its
// command line at blanks) of at most 255 characters of the ANSI code page it reads its
// command line in (any other character arrives there as "?").
bool FinderTakesName(const std::wstring& name)
{
    if (!IsPlainFileName(name) || name.find(L' ') != std::wstring::npos)
        return false;
    char ansi[256];
    BOOL lost = FALSE;
    // A UTF-8 code page holds every character but takes neither flag nor report.
    const bool utf8 = ::GetACP() == CP_UTF8;
    int n = ::WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, name.c_str(),
                                  int(name.size()), ansi, sizeof(ansi) - 1, nullptr, utf8 ? nullptr : &lost);
    return n > 0 && !lost;
}

}  // namespace

int CreateShellShortcut(const ShortcutOwner& owner, const wchar_t* target, const wchar_t* linkPath,
                        const wchar_t* iconPath, const wchar_t* name, int mode)
{
    if (!target || !linkPath || !name)
        return 0;
    std::wstring arguments = (mode == kShareMode ? L"share " : L"setting ") + std::wstring(name);
    HRESULT init = ::CoInitialize(nullptr);
    int ok = 0;
    {
        ComRef<IShellLinkW> link;
        ComRef<IPersistFile> file;
        std::wstring icon = iconPath ? owner.productFolder + FilePart(iconPath) : std::wstring();
        // In this order; the first failing call ends the operation.
        const std::function<HRESULT()> steps[] = {
            [&] { return ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                            reinterpret_cast<void**>(&link.p)); },
            // Clearing an ID list that is empty anyway fails on some shells; SetPath sets it.
            [&] { link.p->SetIDList(nullptr); return S_OK; },
            [&] { return link.p->SetArguments(arguments.c_str()); },
            [&] { return link.p->SetDescription(L""); },
            [&] { return link.p->SetHotkey(0); },
            [&] { return link.p->SetPath(target); },
            // No relative path: it would equal the target and add nothing, and Wine writes it
            // without its flag, so every later string of the link (the arguments) is misread.
            [&] { return link.p->SetWorkingDirectory(L""); },
            [&] { return link.p->SetShowCmd(SW_SHOWNORMAL); },
            [&] {
                HRESULT hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
                return SUCCEEDED(hr) && !file.p ? E_NOINTERFACE : hr;
            },
            [&] { return file.p->Save(linkPath, TRUE); },
            [&] { return iconPath ? link.p->SetIconLocation(icon.c_str(), 0) : S_OK; },
            [&] { return iconPath ? file.p->Save(linkPath, TRUE) : S_OK; },
        };
        HRESULT hr = S_OK;
        for (const auto& step : steps)
            if (FAILED(hr = step()))
                break;
        ok = SUCCEEDED(hr) ? 1 : 0;
    }
    (void)init;  // the pairing call is made whatever CoInitialize said
    ::CoUninitialize();
    return ok;
}

std::wstring DesktopFolder() { return ShellFolder(CSIDL_DESKTOPDIRECTORY); }

int CreateDesktopShortcuts(const ShortcutOwner& owner, int share, int setting, int remote,
                           const wchar_t* shareSuffix, const wchar_t* settingSuffix,
                           const wchar_t* shareIcon, const wchar_t* settingIcon,
                           const wchar_t* shareTarget, const wchar_t* settingTarget)
{
    const std::wstring folder = DesktopFolder();
    // Without it the links would land in the root of the current drive.
    if (folder.empty())
        return 0;
    const std::wstring desktop = folder + L"\\";
    auto linkFor = [&](const wchar_t* suffix) {
        return desktop + owner.deviceName + (suffix ? L" " + std::wstring(suffix) : L"") + L".lnk";
    };
    const wchar_t* name = owner.deviceName.c_str();
    // The name becomes part of the links' file names and their arguments: one that is not a
    // plain file name would put them outside the desktop, and one the finder cannot take back
    // would make links that never work.
    if ((share || setting) && !FinderTakesName(owner.deviceName))
        return 0;
    if (share && !CreateShellShortcut(owner, shareTarget, linkFor(shareSuffix).c_str(), shareIcon, name, kShareMode))
        return 0;
    if (setting &&
        !CreateShellShortcut(owner, settingTarget, linkFor(settingSuffix).c_str(), settingIcon, name, kSettingMode))
        return 0;
    if (remote && !CreateShellShortcut(owner, settingTarget, (desktop + L"Vantry 2.lnk").c_str(), settingIcon,
                                       L"Vantry_2", kSettingMode))
        return 0;
    return 1;
}

void CopyManualToDesktop(const ConfigMap& base, const ConfigMap& lang,
                         const std::wstring& programFolder, MissingFilesHandler missing)
{
    std::wstring value = ChooseText(base, lang, L"CopyManual");
    if (value.empty())
        return;
    std::wstring desktop = DesktopFolder();
    std::wstring source = programFolder + value;
    size_t cut = value.find_last_of(kPathSeparators);
    std::wstring destination = desktop + (cut == std::wstring::npos ? L"\\" + value : value.substr(cut));
    WIN32_FIND_DATAW fd;
    HANDLE find = source.size() < MAX_PATH ? ::FindFirstFileW(source.c_str(), &fd) : INVALID_HANDLE_VALUE;
    if (find == INVALID_HANDLE_VALUE)
        missing();
    ::FindClose(find);
    // Like a failed copy, no desktop folder is not reported; the copy is not made elsewhere.
    if (desktop.empty())
        return;
    ::CopyFileW(source.c_str(), destination.c_str(), FALSE);
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, desktop.c_str(), nullptr);
}

int GuideStartMode(int shareShortcut, int settingShortcut, int manualCopy, int usbMode)
{
    return !usbMode && (shareShortcut || settingShortcut || manualCopy) ? 1 : 0;
}
