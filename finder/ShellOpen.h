// The finder's openers: a device's shared folders or web page through the shell.
#pragma once
#include <windows.h>
#include <cstdint>

// Each returns the shell's result; above 31 is success.
INT_PTR OpenShare(HWND owner, const char* nameOrAddress);
INT_PTR OpenWebByName(HWND owner, const char* name);
INT_PTR OpenWebByAddress(HWND owner, uint32_t address);

inline bool ShellSucceeded(INT_PTR result) { return result > 31; }
