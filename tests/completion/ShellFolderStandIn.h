// Stand-ins for the system functions that the wizard's code linked into a test program calls:
// this program's imports of one point at a stand-in while a patch lives. Shells that cannot
// give a special folder are one.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <vector>

// The shell knows no such folder; or it reports the folder found but gives an empty one.
inline BOOL WINAPI NoShellFolder(HWND, LPWSTR, int, BOOL) { return FALSE; }
inline BOOL WINAPI EmptyShellFolder(HWND, LPWSTR path, int, BOOL) { return *path = 0, TRUE; }
using ShellFolderFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);

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

struct ShellFolderStandIn : ImportStandIn {
    explicit ShellFolderStandIn(ShellFolderFn standIn) : ImportStandIn(L"shell32.dll", "SHGetSpecialFolderPathW", standIn) {}
    // Whether the program's own lookups now give no folder (a lookup of its own says so).
    bool Active() const
    {
        wchar_t folder[MAX_PATH] = {};
        return Patched() && !(::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE) && *folder);
    }
};
