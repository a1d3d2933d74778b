// The finder's openers: a device's shared folders or web page through the shell.
#include "finder/ShellOpen.h"
#include "finder/DeviceTable.h"
#include <shellapi.h>

static INT_PTR Shell(HWND owner, const char* verb, const std::string& target)
{
    return reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, verb, target.c_str(), nullptr, nullptr, SW_RESTORE));
}

INT_PTR OpenShare(HWND owner, const char* text) { return Shell(owner, "explore", ShareTarget(text)); }
INT_PTR OpenWebByName(HWND owner, const char* name) { return Shell(owner, "open", WebTargetByName(name)); }
INT_PTR OpenWebByAddress(HWND owner, uint32_t a) { return Shell(owner, "open", WebTargetByAddress(a)); }
