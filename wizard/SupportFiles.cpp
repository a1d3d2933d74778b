// Copies what the shortcuts and the guide need from the medium into the support folder.
#include "wizard/SupportFiles.h"
#include "afx/MessageBox.h"
#include "wizard/PellgroveApp.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/SupportFolderSecurity.h"
#include "resources/pellgrove/resource.h"
#include "afx/Handle.h"
#include <algorithm>
#include <cwchar>
#include <set>
#include <vector>
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

// Calls visit(name, attributes) for each entry of the folder besides "." and ".." until it
// answers false: -1 when the folder cannot be listed, 0 when a visit answered false, else 1.
template <class Visit>
int ForEachEntry(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    int all = 1;
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L".." && !visit(name, fd.dwFileAttributes))
            all = 0;
    } while (all && ::FindNextFileW(find, &fd));
    ::FindClose(find);
    return all;
}

// True when the folder holds an entry besides "." and "..".
bool HasEntries(const std::wstring& folder)
{
    return ForEachEntry(folder, [](const std::wstring&, DWORD) { return false; }) == 0;
}

// Removes one entry below the support folder: a link as a link (never what it points at), a
// read-only file too, a folder with all it holds. False when anything of it stays.
bool RemoveEntry(const std::wstring& path, DWORD attributes);

bool EmptyFolder(const std::wstring& folder)
{
    return ForEachEntry(folder, [&folder](const std::wstring& name, DWORD attributes) {
               return RemoveEntry(folder + L"\\" + name, attributes);
           }) == 1;
}

bool RemoveEntry(const std::wstring& path, DWORD attributes)
{
    if (path.size() >= MAX_PATH)
        return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        {
            // Held while it is emptied, so that its name cannot turn into a link meanwhile.
            afx::CHandle held(OpenFolderItself(path, FILE_LIST_DIRECTORY));
            if (!held.IsValid() || !EmptyFolder(path))
                return false;
        }
        return ::RemoveDirectoryW(path.c_str()) != FALSE;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return ::DeleteFileW(path.c_str()) != FALSE;
}

// A copy onto a file keeps that file's owner and entries, and one that cannot be replaced
// keeps its bytes: the target is removed first, and the copy makes a file of its own.
bool CopyAnew(const std::wstring& from, const std::wstring& to)
{
    const DWORD attributes = ::GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !RemoveEntry(to, attributes))
        return false;
    return ::CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

void CopyTested(const SupportInstall& in, const std::wstring& from, const std::wstring& to)
{
    if (!Found(from))
        in.missing();
    if (!CopyAnew(from, to))
        in.refused(in.supportFolder);
}

// A configured path below the program folder; a folder's trailing separators are dropped.
std::wstring Relative(const SupportInstall& in, const wchar_t* value)
{
    std::wstring path = in.programFolder + value;
    while (path.size() > in.programFolder.size() && wcschr(kPathSeparators, path.back()))
        path.pop_back();
    return path;
}

// The finder's files as (source on the medium, name in the support folder): the product icon
// with the finder program and library beside it, then the web-setting and remote-access icons.
std::vector<std::pair<std::wstring, std::wstring>> FinderFiles(const SupportInstall& in, const ProductConfig& config)
{
    std::vector<std::pair<std::wstring, std::wstring>> files;
    if (config.ProductIconFlag) {
        std::wstring icon = config.ProductIcon;
        files.emplace_back(Relative(in, icon.c_str()), FilePart(icon));
        // The finder travels with the product icon: it is taken from the icon's folder.
        std::wstring folder = in.programFolder + FolderPart(icon);
        files.emplace_back(folder + L"Tavik.dll", L"Tavik.dll");
        files.emplace_back(folder + in.finderName, in.finderName);
    }
    if (config.WebSetupIconFlag)
        files.emplace_back(Relative(in, config.WebSetupIcon), FilePart(config.WebSetupIcon));
    if (config.Vantry2IconFlag)
        files.emplace_back(Relative(in, config.Vantry2Icon), FilePart(config.Vantry2Icon));
    // A value without a file name would name the support folder itself (the completion refuses
    // such a configuration afterwards).
    files.erase(std::remove_if(files.begin(), files.end(), [](const auto& file) { return !IsPlainFileName(file.second); }),
                files.end());
    return files;
}

// Closed and held while an installer works in it; emptied by the first installer of the process.
// What is there after that is this run's: nobody else may add to the closed folder.
HANDLE SecureAndEmpty(const SupportInstall& in, const ProductConfig& config)
{
    static std::set<std::wstring> emptied;
    afx::CHandle held(SecureSupportFolder(in.supportFolder));
    if (!held.IsValid())
        in.refused(in.supportFolder);
    if (!emptied.count(in.supportFolder)) {
        std::vector<std::pair<std::wstring, std::wstring>> left;
        for (const auto& file : FinderFiles(in, config))
            if (::GetFileAttributesW((in.supportFolder + L"\\" + file.second).c_str()) != INVALID_FILE_ATTRIBUTES)
                left.push_back(file);
        if (!EmptyFolder(in.supportFolder))
            in.refused(in.supportFolder);
        // The shortcuts an earlier install made start these: they stay, with this medium's bytes.
        for (const auto& [from, name] : left)
            CopyTested(in, from, in.supportFolder + L"\\" + name);
        emptied.insert(in.supportFolder);
    }
    return held.Detach();
}

}  // namespace

std::wstring InstallFinderFilesTo(const SupportInstall& in, const ProductConfig& config)
{
    afx::CHandle held(SecureAndEmpty(in, config));
    std::wstring finderPath;
    for (const auto& [from, name] : FinderFiles(in, config)) {
        if (name == in.finderName)
            finderPath = in.supportFolder + L"\\" + name;
        CopyTested(in, from, in.supportFolder + L"\\" + name);
    }
    return finderPath;
}

void InstallGuideFilesTo(const SupportInstall& in, const ProductConfig& config, CFileOperation& op)
{
    afx::CHandle held(SecureAndEmpty(in, config));
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
            if (MakeDirectory(target.c_str()) != 0 || !op.Copy((source + L"\\*").c_str(), target.c_str()))
                in.refused(in.supportFolder);
        }
    }
    if (*config.GuideFolderPath) {
        std::wstring guide = in.supportFolder + L"\\Guide", source = Relative(in, config.GuideFolderPath);
        DWORD attr = ::GetFileAttributesW(guide.c_str());
        if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
            ::CreateDirectoryW(guide.c_str(), nullptr);
        // Replaced as a whole, so no picture of an older guide stays behind. A guide missing on
        // the medium leaves none, and the guide launch says so.
        if (!op.Delete(guide.c_str()) ||
            (::GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES && !op.Copy(source.c_str(), guide.c_str())))
            in.refused(in.supportFolder);
    }
}

void FatalNoSupportFolder()
{
    afx::AfxMessageBox(IDS_SUPPORT_FOLDER_UNKNOWN, MB_OK | MB_SETFOREGROUND);
    ::ExitProcess(1);
}

void FatalUnsafeSupportFolder(const std::wstring& supportFolder)
{
    std::wstring text = afx::LoadStr(IDS_SUPPORT_FOLDER_UNSAFE);
    const size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, supportFolder);
    afx::AfxMessageBox(text, MB_OK | MB_SETFOREGROUND);
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
    in.refused = &FatalUnsafeSupportFolder;
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
