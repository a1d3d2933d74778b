// Screenshots of a window as the screen shows it, saved as BMP under the build folder.
#pragma once
#include <windows.h>
#include <string>

// Saves the window's screen area as <KIT_BUILD_DIR>/screens/<name>.bmp; false when the build
// folder is not known or the file could not be written.
bool SaveWindowShot(HWND window, const std::wstring& name);
