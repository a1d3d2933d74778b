// The workgroup check of the device setting dialog: the one setting check that asks Windows
// (the code page's conversion and lead bytes), kept apart so SettingChecks.cpp builds anywhere.
#include "netsetter/SettingChecks.h"
#include <windows.h>

unsigned CheckWorkgroup(const std::wstring& workgroup, unsigned codePage)
{
    static const wchar_t kRefused[] = L"\\/~$:.';*?\"<>|`[]=+ ";
    if (workgroup.size() > 15)
        return kStrWorkgroupTooLong;
    if (!workgroup.empty() && workgroup[0] == L'-')
        return kStrWorkgroupBadFirst;
    if (workgroup.find_first_of(kRefused) != std::wstring::npos)
        return kStrWorkgroupBadChar;
    if (workgroup.empty())
        return 0;
    // A character the code page holds only by a stand-in, or as two bytes, would reach the
    // device as something else than what was typed.
    char bytes[64];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, workgroup.c_str(), int(workgroup.size()), bytes,
                                int(sizeof(bytes)), nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return kStrWorkgroupBadChar;
    for (int i = 0; i < n; ++i)
        if (IsDBCSLeadByteEx(codePage, uint8_t(bytes[i])))
            return kStrWorkgroupBadChar;
    return 0;
}
