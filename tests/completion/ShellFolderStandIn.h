// Shells that cannot give a special folder, as stand-ins (tests/support/ImportStandIn.h) for the
// system function that the wizard's code linked into a test program calls.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include "tests/support/ImportStandIn.h"

// The shell knows no such folder; or it reports the folder found but gives an empty one.
inline BOOL WINAPI NoShellFolder(HWND, LPWSTR, int, BOOL) { return FALSE; }
inline BOOL WINAPI EmptyShellFolder(HWND, LPWSTR path, int, BOOL) { return *path = 0, TRUE; }
using ShellFolderFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);

struct ShellFolderStandIn : ImportStandIn {
    explicit ShellFolderStandIn(ShellFolderFn standIn) : ImportStandIn(L"shell32.dll", "SHGetSpecialFolderPathW", standIn) {}
    // Whether the program's own lookups now give no folder (a lookup of its own says so).
    bool Active() const
    {
        wchar_t folder[MAX_PATH] = {};
        return Patched() && !(::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE) && *folder);
    }
};
