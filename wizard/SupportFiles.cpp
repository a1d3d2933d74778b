// Copies what the shortcuts and the guide need from the medium into the support folder.
#include "wizard/SupportFiles.h"
#include "afx/MessageBox.h"
#include "wizard/PellgroveApp.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/SupportFolderSecurity.h"
#include "resources/pellgrove/resource.h"
#include <cwchar>
#include <shlobj.h>

std::wstring ShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE))
        return std::wstring();
    return folder;
}

std::wstring SupportFolderPath()
{
    std::wstring appData = ShellFolder(CSIDL_COMMON_APPDATA);
    if (appData.empty())
        return appData;
    return appData + L"\\" + afx::LoadStr(IDS_COMPANY_FOLDER) + L"\\" + afx::LoadStr(IDS_PRODUCT_FOLDER);
}

std::wstring FilePart(const std::wstring& path)
{
    size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring FolderPart(const std::wstring& path)
{
    size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool IsPlainFileName(const std::wstring& name)
{
    // "." and ".." end in a dot too.
    if (name.empty() || name.back() == L'.' || name.back() == L' ')
        return false;
    for (wchar_t c : name)
        if (c < 32 || wcschr(L"\\/:*?\"<>|", c))
            return false;
    return true;
}

namespace {

// A path that does not fit the system's path buffers counts as missing rather than being
// cut into another path.
bool Found(const std::wstring& pattern)
{
    if (pattern.size() >= MAX_PATH)
        return false;
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return true;
}

// True when the folder holds an entry besides "." and "..".
bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool any = false;
    do {
        std::wstring name = fd.cFileName;
        any = name != L"." && name != L"..";
    } while (!any && ::FindNextFileW(find, &fd));
    ::FindClose(find);
    return any;
}

void CopyTested(const SupportInstall& in, const std::wstring& from, const std::wstring& to)
{
    if (!Found(from))
        in.missing();
    ::CopyFileW(from.c_str(), to.c_str(), FALSE);
}

// A configured path below the program folder; a folder's trailing separators are dropped.
std::wstring Relative(const SupportInstall& in, const wchar_t* value)
{
    std::wstring path = in.programFolder + value;
    while (path.size() > in.programFolder.size() && wcschr(kPathSeparators, path.back()))
        path.pop_back();
    return path;
}

void SecureOrRefuse(const SupportInstall& in)
{
    if (!SecureSupportFolder(in.supportFolder))
        in.refused();
}

}  // namespace

std::wstring InstallFinderFilesTo(const SupportInstall& in, const ProductConfig& config)
{
    SecureOrRefuse(in);
    const std::wstring target = in.supportFolder + L"\\";
    std::wstring finderPath;
    if (config.ProductIconFlag) {
        std::wstring icon = config.ProductIcon;
        CopyTested(in, Relative(in, icon.c_str()), target + FilePart(icon));
        // The finder travels with the product icon: it is taken from the icon's folder.
        std::wstring folder = in.programFolder + FolderPart(icon);
        CopyTested(in, folder + L"Tavik.dll", target + L"Tavik.dll");
        finderPath = target + in.finderName;
        CopyTested(in, folder + in.finderName, finderPath);
    }
    if (config.WebSetupIconFlag)
        CopyTested(in, Relative(in, config.WebSetupIcon), target + FilePart(config.WebSetupIcon));
    if (config.Vantry2IconFlag)
        CopyTested(in, Relative(in, config.Vantry2Icon), target + FilePart(config.Vantry2Icon));
    return finderPath;
}

void InstallGuideFilesTo(const SupportInstall& in, const ProductConfig& config, CFileOperation& op)
{
    SecureOrRefuse(in);
    const std::pair<const wchar_t*, std::wstring> folders[] = {
        {config.OtherFilePath, in.supportFolder},
        {config.OtherFolderPath, in.supportFolder + L"\\Other"},
    };
    for (const auto& [value, target] : folders) {
        if (!*value)
            continue;
        std::wstring source = Relative(in, value);
        if (!Found(source + L"\\*"))
            in.missing();
        // An empty folder has nothing to copy, and the shell would complain about the
        // wildcard that matches nothing.
        if (HasEntries(source)) {
            // A single file copied to a missing folder would take the folder's name.
            MakeDirectory(target.c_str());
            op.Copy((source + L"\\*").c_str(), target.c_str());
        }
    }
    if (*config.GuideFolderPath) {
        std::wstring guide = in.supportFolder + L"\\Guide";
        DWORD attr = ::GetFileAttributesW(guide.c_str());
        if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
            ::CreateDirectoryW(guide.c_str(), nullptr);
        // Replaced as a whole, so no picture of an older guide stays behind.
        op.Delete(guide.c_str());
        op.Copy(Relative(in, config.GuideFolderPath).c_str(), guide.c_str());
    }
}

void FatalNoSupportFolder()
{
    afx::AfxMessageBox(IDS_SUPPORT_FOLDER_UNKNOWN, MB_OK | MB_SETFOREGROUND);
    ::ExitProcess(1);
}

namespace {

// What both installers start with: the program folder, and the support folder handed to the
// caller's buffer of MAX_PATH characters.
SupportInstall CommonStart(wchar_t* folder)
{
    SupportInstall in;
    in.finderName = afx::LoadStr(IDS_FINDER_PROGRAM);
    in.missing = &CPellgroveApp::FatalMissingFiles;
    in.refused = &FatalNoSupportFolder;
    std::wstring module = ModulePath();
    if (module.empty())
        afx::MessageBoxRes(IDS_MODULE_PATH_FAILURE, IDS_ERROR);
    in.programFolder = FolderPart(module);
    in.supportFolder = SupportFolderPath();
    // Without it every target would fall to the root of the current drive, where the guide
    // install would delete the \Guide folder found there.
    if (in.supportFolder.empty())
        FatalNoSupportFolder();
    if (folder && in.supportFolder.size() < MAX_PATH)
        wcscpy(folder, in.supportFolder.c_str());
    return in;
}

}  // namespace

void CPellgroveApp::InstallFinderFiles(wchar_t* folder, wchar_t* finderPath)
{
    std::wstring finder = InstallFinderFilesTo(CommonStart(folder), g_productConfig);
    if (finderPath && !finder.empty() && finder.size() < MAX_PATH)
        wcscpy(finderPath, finder.c_str());
}

void CPellgroveApp::InstallGuideFiles(wchar_t* folder)
{
    InstallGuideFilesTo(CommonStart(folder), g_productConfig, m_fileOperation);
}
