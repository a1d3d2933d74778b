// Run-time binding of the finder library: loads Tavik.dll, binds GetZevList, frees it again.
#include "finder/TavikLoader.h"
#include <string>

// A file beside the program, by its full path; empty when the program's path cannot be read.
static std::wstring BesideProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1) + name;
}

bool CTavikLoader::Load()
{
    Free();
    // Only the copy beside the finder: neither the current folder nor the search path counts.
    std::wstring path = BesideProgram(L"Tavik.dll");
    if (path.empty())
        return false;
    m_module.Reset(LoadLibraryExW(path.c_str(), nullptr, 0));
    if (!m_module.IsValid())
        return false;
    m_pfnGetZevList = reinterpret_cast<GetZevListFn>(GetProcAddress(m_module, "GetZevList"));
    if (!m_pfnGetZevList)
        m_module.Reset();
    return IsLoaded();
}

void CTavikLoader::Free()
{
    m_pfnGetZevList = nullptr;
    m_module.Reset();
}
