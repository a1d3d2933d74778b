// Saves what a window shows on the screen as a BMP file under the build tree, for people to look at.
#pragma once
#include <windows.h>
#include <string>

// Writes build/screenshots/<name>.bmp (KIT_BUILD_DIR); false when it could not.
bool SaveScreenshot(HWND window, const std::wstring& name);
