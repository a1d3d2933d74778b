// Programs and libraries of the system by their full path, never by a bare name that would
// be looked for in the program's own folder or the current folder first.
#pragma once
#include <windows.h>
#include <string>

namespace afx {

// The system folder, a backslash and name; empty when the system folder cannot be read.
std::wstring SystemFilePath(const wchar_t* name);
// Loads a library of the system folder, whose own imports are looked for there first too;
// nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace afx
