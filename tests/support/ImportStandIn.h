// A stand-in for a system function that code linked into a test program calls: while the patch
// lives, this program's imports of the function point at the stand-in, and its end restores them.
#pragma once
#include <windows.h>
#include <vector>

class ImportStandIn {
public:
    template <class Fn>
    ImportStandIn(const wchar_t* library, const char* name, Fn standIn)
        : m_real(reinterpret_cast<ULONG_PTR>(::GetProcAddress(::LoadLibraryW(library), name)))
    {
        auto base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
        auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; dll->Name; ++dll)
            for (auto slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); slot->u1.Function; ++slot)
                if (DWORD old; slot->u1.Function == m_real && ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old))
                    m_slots.push_back(&(slot->u1.Function = reinterpret_cast<ULONG_PTR>(standIn)));
    }
    ~ImportStandIn() { for (auto* slot : m_slots) *slot = m_real; }
    bool Patched() const { return !m_slots.empty(); }

private:
    const ULONG_PTR m_real;
    std::vector<ULONG_PTR*> m_slots;
};
