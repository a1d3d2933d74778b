// Copies what the shortcuts and the guide need from the medium into the support folder.
#include "wizard/SupportFiles.h"
#include "afx/MessageBox.h"
#include "wizard/PellgroveApp.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/HeldEntries.h"
#include "wizard/SupportFolderSecurity.h"
#include "resources/pellgrove/resource.h"
#include "afx/Handle.h"
#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>
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

// True when the folder on the medium holds an entry besides "." and "..".
bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool any = false;
    do
        any = wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..");
    while (!any && ::FindNextFileW(find, &fd));
    ::FindClose(find);
    return any;
}

// A configured path below the program folder; a folder's trailing separators are dropped.
std::wstring Relative(const SupportInstall& in, const wchar_t* value)
{
    std::wstring path = in.programFolder + value;
    while (path.size() > in.programFolder.size() && wcschr(kPathSeparators, path.back()))
        path.pop_back();
    return path;
}

using SourceAndName = std::pair<std::wstring, std::wstring>;

// The finder's files as (source on the medium, name in the support folder): the product icon
// with the finder program and library beside it, then the web-setting and remote-access icons.
std::vector<SourceAndName> FinderFiles(const SupportInstall& in, const ProductConfig& config)
{
    std::vector<SourceAndName> files;
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

// The support folder of a run, from its first installer to the guide's start: made anew by the
// wizard itself with its security from the first instant, and held with the company folder
// above it, neither sharing delete, so that neither name can be moved or turned into something
// else meanwhile.
struct HeldSupportFolder {
    afx::CHandle company;
    afx::CHandle folder;
};
std::map<std::wstring, std::unique_ptr<HeldSupportFolder>>& HeldFolders()
{
    static std::map<std::wstring, std::unique_ptr<HeldSupportFolder>> held;
    return held;
}

// The held folder while its name still leads to it.
const HeldSupportFolder* StillHeld(const std::wstring& supportFolder)
{
    auto found = HeldFolders().find(supportFolder);
    if (found == HeldFolders().end())
        return nullptr;
    afx::CHandle named(OpenEntry(found->second->company, FilePart(supportFolder), 0));
    return named.IsValid() && SameEntry(named, found->second->folder) ? found->second.get() : nullptr;
}

// Moves what stood at the folder's name to a name of its own within the company folder.
bool MoveAside(HANDLE old, HANDLE company, const std::wstring& name)
{
    const ULONGLONG stamp = ::GetTickCount64() ^ (ULONGLONG(::GetCurrentProcessId()) << 32);
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        wchar_t suffix[32];
        const ULONGLONG tag = stamp + attempt;
        swprintf(suffix, 32, L".old-%08lx%08lx", static_cast<unsigned long>(tag >> 32), static_cast<unsigned long>(tag));
        if (RenameWithin(old, company, name + suffix))
            return true;
        if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

// A copy onto a file would keep that file's owner and entries: the copy makes a file of its own,
// and one there before (this run's, as the folder is new) is removed through its checked handle.
bool CopyAnew(const SupportInstall& in, const std::wstring& from, const std::wstring& to)
{
    const HeldSupportFolder* held = StillHeld(in.supportFolder);
    if (!held)
        return false;
    if (::GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES && !RemoveEntry(held->folder, FilePart(to)))
        return false;
    return ::CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

void CopyTested(const SupportInstall& in, const std::wstring& from, const std::wstring& to)
{
    if (!Found(from))
        in.missing();
    if (!CopyAnew(in, from, to))
        in.refused(in.supportFolder);
}

// The first installer of a run makes the support folder anew. What stood at its name, whoever
// made it, is moved aside and removed as far as its entries can be known to be themselves; the
// finder's files it held come anew from this medium, since earlier shortcuts start them. Nothing
// changes before the medium is known to hold them. Later installers go on in the held folder
// while its name still leads there.
void TakeSupportFolder(const SupportInstall& in, const ProductConfig& config)
{
    if (HeldFolders().count(in.supportFolder)) {
        if (!StillHeld(in.supportFolder))
            in.refused(in.supportFolder);
        return;
    }
    const std::wstring name = FilePart(in.supportFolder);
    CSupportFolderSecurity security;
    auto held = std::make_unique<HeldSupportFolder>();
    held->company.Reset(OpenSafeCompanyFolder(in.supportFolder.substr(0, in.supportFolder.size() - name.size() - 1), security));
    if (!held->company.IsValid())
        in.refused(in.supportFolder);
    // A link at the name is never moved: under Wine that would move what it leads to.
    afx::CHandle old(OpenEntry(held->company, name, DELETE | FILE_LIST_DIRECTORY | FILE_WRITE_ATTRIBUTES));
    const DWORD why = ::GetLastError();
    if (!old.IsValid() && why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND)
        in.refused(in.supportFolder);
    std::vector<SourceAndName> left;
    BY_HANDLE_FILE_INFORMATION info;
    if (old.IsValid() && ::GetFileInformationByHandle(old, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::vector<HeldEntry> entries;
        if (!ListEntries(old, entries))
            in.refused(in.supportFolder);
        for (const SourceAndName& file : FinderFiles(in, config))
            for (const HeldEntry& entry : entries)
                if (!_wcsicmp(entry.name.c_str(), file.second.c_str()))
                    left.push_back(file);
    }
    for (const SourceAndName& file : left)
        if (!Found(file.first))
            in.missing();
    if (old.IsValid() && !MoveAside(old, held->company, name))
        in.refused(in.supportFolder);
    held->folder.Reset(MakeFolderIn(held->company, name, security.Descriptor()));
    if (!held->folder.IsValid())
        in.refused(in.supportFolder);
    HeldFolders()[in.supportFolder] = std::move(held);
    for (const auto& [from, file] : left)
        CopyTested(in, from, in.supportFolder + L"\\" + file);
    // What cannot be removed keeps its new name, where nothing starts from it.
    if (old.IsValid())
        RemoveOpenEntry(old);
}

}  // namespace

bool SupportFolderStillHeld(const std::wstring& supportFolder)
{
    return StillHeld(supportFolder) != nullptr;
}

void ReleaseSupportFolder(const std::wstring& supportFolder)
{
    HeldFolders().erase(supportFolder);
}

std::wstring InstallFinderFilesTo(const SupportInstall& in, const ProductConfig& config)
{
    const std::vector<SourceAndName> files = FinderFiles(in, config);
    for (const auto& file : files)
        if (!Found(file.first))
            in.missing();
    TakeSupportFolder(in, config);
    std::wstring finderPath;
    for (const auto& [from, name] : files) {
        if (name == in.finderName)
            finderPath = in.supportFolder + L"\\" + name;
        CopyTested(in, from, in.supportFolder + L"\\" + name);
    }
    return finderPath;
}

void InstallGuideFilesTo(const SupportInstall& in, const ProductConfig& config, CFileOperation& op)
{
    const std::pair<const wchar_t*, std::wstring> folders[] = {
        {config.OtherFilePath, in.supportFolder},
        {config.OtherFolderPath, in.supportFolder + L"\\Other"},
    };
    for (const auto& [value, target] : folders)
        if (*value && !Found(Relative(in, value) + L"\\*"))
            in.missing();
    TakeSupportFolder(in, config);
    for (const auto& [value, target] : folders) {
        if (!*value)
            continue;
        std::wstring source = Relative(in, value);
        // An empty folder has nothing to copy, and the shell would complain about the
        // wildcard that matches nothing.
        if (HasEntries(source)) {
            // A single file copied to a missing folder would take the folder's name.
            if (MakeDirectory(target.c_str()) != 0 || !op.Copy((source + L"\\*").c_str(), target.c_str()))
                in.refused(in.supportFolder);
        }
    }
    if (*config.GuideFolderPath) {
        // The folder is this run's, so a guide there was copied in this run too; it is replaced
        // whole. A guide missing on the medium leaves none, and the guide launch says so.
        std::wstring guide = in.supportFolder + L"\\Guide", source = Relative(in, config.GuideFolderPath);
        const HeldSupportFolder* held = StillHeld(in.supportFolder);
        if (!held || (::GetFileAttributesW(guide.c_str()) != INVALID_FILE_ATTRIBUTES && !RemoveEntry(held->folder, L"Guide")) ||
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
