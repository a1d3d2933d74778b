// Run-time binding of the finder library: loads Tavik.dll, binds GetZevList, frees it again.
#include "finder/TavikLoader.h"

bool CTavikLoader::Load()
{
    Free();
    m_module.Reset(LoadLibraryExA("Tavik.dll", nullptr, 0));
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
