// Entries below a held folder, each checked on its own handle before anything acts on it.
#include "wizard/HeldEntries.h"
#include "afx/Handle.h"
#include <winternl.h>
#include <cstddef>
#include <cwchar>

namespace {

// Reads and lists what the handle is on; Synchronize for the listing on a plain handle.
constexpr DWORD kAlways = FILE_READ_ATTRIBUTES | SYNCHRONIZE;

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && ::CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Below(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty())
        return folder;
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// One name in the folder, not a way out of it.
bool IsEntryName(const std::wstring& name)
{
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

// The entry itself: not a link by its attribute, and leading exactly where it stands.
bool IsEntryItself(HANDLE entry, const std::wstring& where)
{
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(entry, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           SamePath(FinalPath(entry), where);
}

bool SetInformation(HANDLE entry, FILE_INFO_BY_HANDLE_CLASS kind, void* info, DWORD size)
{
    return ::SetFileInformationByHandle(entry, kind, info, size) != FALSE;
}

}  // namespace

std::wstring FinalPath(HANDLE entry)
{
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length = ::GetFinalPathNameByHandleW(entry, &path[0], DWORD(path.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return std::wstring();
        if (length < path.size())
            return path.resize(length), path;
        path.assign(length + 1, L'\0');
    }
    return std::wstring();
}

HANDLE OpenEntry(HANDLE folder, const std::wstring& name, DWORD access)
{
    const std::wstring where = Below(FinalPath(folder), name);
    if (where.empty() || !IsEntryName(name)) {
        ::SetLastError(ERROR_CANT_ACCESS_FILE);
        return INVALID_HANDLE_VALUE;
    }
    afx::CHandle entry(::CreateFileW(where.c_str(), access | kAlways, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!entry.IsValid())
        return INVALID_HANDLE_VALUE;
    if (!IsEntryItself(entry, where)) {
        ::SetLastError(ERROR_CANT_ACCESS_FILE);
        return INVALID_HANDLE_VALUE;
    }
    return entry.Detach();
}

bool ListEntries(HANDLE folder, std::vector<HeldEntry>& entries)
{
    entries.clear();
    std::vector<LONGLONG> buffer(8192);  // 64 KiB, aligned for the records
    for (FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;; kind = FileIdBothDirectoryInfo) {
        if (!::GetFileInformationByHandleEx(folder, kind, buffer.data(), DWORD(buffer.size() * sizeof(LONGLONG))))
            return ::GetLastError() == ERROR_NO_MORE_FILES;
        for (auto* at = reinterpret_cast<BYTE*>(buffer.data());;) {
            const auto* record = reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(at);
            std::wstring name(record->FileName, record->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..")
                entries.push_back({name, record->FileAttributes});
            if (!record->NextEntryOffset)
                break;
            at += record->NextEntryOffset;
        }
    }
}

bool RemoveOpenEntry(HANDLE entry)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(entry, &info))
        return false;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        std::vector<HeldEntry> entries;
        bool all = ListEntries(entry, entries);
        for (const HeldEntry& e : entries)
            all = RemoveEntry(entry, e.name) && all;
        if (!all)
            return false;
    } else if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        // Another name of the same file would lose its read-only attribute too.
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = (info.dwFileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) | FILE_ATTRIBUTE_NORMAL;
        if (info.nNumberOfLinks != 1 || !SetInformation(entry, FileBasicInfo, &basic, sizeof(basic)))
            return false;
    }
    FILE_DISPOSITION_INFO gone = {TRUE};
    return SetInformation(entry, FileDispositionInfo, &gone, sizeof(gone));
}

bool RemoveEntry(HANDLE folder, const std::wstring& name)
{
    afx::CHandle entry(OpenEntry(folder, name, DELETE | FILE_LIST_DIRECTORY | FILE_WRITE_ATTRIBUTES));
    return entry.IsValid() && RemoveOpenEntry(entry);
}

bool RenameWithin(HANDLE entry, HANDLE folder, const std::wstring& newName)
{
    // A rename takes the whole target path: the held folder's, in the system's own form.
    std::wstring target = Below(FinalPath(folder), newName);
    if (target.compare(0, 4, L"\\\\?\\") != 0 || !IsEntryName(newName))
        return false;
    target[1] = L'?';
    const size_t bytes = target.size() * sizeof(wchar_t);
    std::vector<LONGLONG> buffer((offsetof(FILE_RENAME_INFO, FileName) + bytes + sizeof(wchar_t)) / sizeof(LONGLONG) + 1);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = DWORD(bytes);
    wmemcpy(rename->FileName, target.c_str(), target.size());
    return SetInformation(entry, FileRenameInfo, rename, DWORD(buffer.size() * sizeof(LONGLONG)));
}

HANDLE MakeFolderIn(HANDLE folder, const std::wstring& name, PSECURITY_DESCRIPTOR security)
{
    if (!IsEntryName(name))
        return INVALID_HANDLE_VALUE;
    UNICODE_STRING text = {USHORT(name.size() * sizeof(wchar_t)), USHORT(name.size() * sizeof(wchar_t)),
                           const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, security);
    IO_STATUS_BLOCK io = {};
    HANDLE made = INVALID_HANDLE_VALUE;
    // Made here and now, or not at all: never a folder that was there before.
    const NTSTATUS status =
        ::NtCreateFile(&made, FILE_LIST_DIRECTORY | FILE_TRAVERSE | READ_CONTROL | kAlways, &attributes, &io, nullptr,
                       FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                       FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT, nullptr, 0);
    if (status < 0) {
        ::SetLastError(::RtlNtStatusToDosError(status));
        return INVALID_HANDLE_VALUE;
    }
    afx::CHandle held(made);
    if (!IsEntryItself(held, Below(FinalPath(folder), name)))
        return INVALID_HANDLE_VALUE;
    return held.Detach();
}

bool SameEntry(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION one, two;
    return ::GetFileInformationByHandle(a, &one) && ::GetFileInformationByHandle(b, &two) &&
           one.dwVolumeSerialNumber == two.dwVolumeSerialNumber && one.nFileIndexHigh == two.nFileIndexHigh &&
           one.nFileIndexLow == two.nFileIndexLow;
}
