// Programs and libraries of the system by their full path.
#include "afx/SystemFiles.h"

namespace afx {

std::wstring SystemFilePath(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !name || !*name)
        return std::wstring();
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    return path + name;
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    std::wstring path = SystemFilePath(name);
    return path.empty() ? nullptr : ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace afx
