// Recursive folder creation shared by the wizard and the guide.
#include "frame/Directory.h"

#include <windows.h>
#include <cwchar>

int MakeDirectory(const wchar_t* path)
{
    if (!path)
        return -1;
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    wchar_t parent[MAX_PATH];
    size_t len = wcsnlen(path, MAX_PATH);
    if (len >= MAX_PATH)
        return -1;
    wmemcpy(parent, path, len + 1);
    wchar_t* cut = wcsrchr(parent, L'\\');
    if (!cut)
        return -1;
    *cut = L'\0';
    if (MakeDirectory(parent) == -1)
        return -1;
    if (CreateDirectoryW(path, nullptr))
        return 0;
    // A trailing backslash names the parent just made; a racing creator also counts.
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? 0 : -1;
}
