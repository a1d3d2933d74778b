// Run-time binding of the finder library: loads Tavik.dll, binds GetZevList, frees it again.
#pragma once
#include "afx/Handle.h"
#include "finder/ZevRecord.h"
#include <cstdint>

class CTavikLoader {
public:
    using GetZevListFn = int(__cdecl*)(ZevDeviceRecord* table, uint16_t* count);

    // Loads the library from the finder's own folder and binds its one export the finder uses;
    // false when either is missing (the library is then freed again).
    bool Load();
    void Free();
    bool IsLoaded() const { return m_pfnGetZevList != nullptr; }
    // The library's search poll (table of kZevTableSize records); 0 while nothing is bound.
    int GetZevList(ZevDeviceRecord* table, uint16_t* count) const
    {
        return m_pfnGetZevList ? m_pfnGetZevList(table, count) : 0;
    }

private:
    afx::CLibrary m_module;
    GetZevListFn m_pfnGetZevList = nullptr;
};
