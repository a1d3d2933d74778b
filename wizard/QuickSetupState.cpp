// Process-wide state of the quick setup that outlives its pages.
#include "wizard/QuickSetupState.h"
#include <cwchar>

int32_t ShareShortcutChecked = 0;
int32_t SettingShortcutChecked = 0;
int32_t ManualCopyChecked = 0;
wchar_t StoredDeviceName[kStoredDeviceNameSize] = {};

void StoreDeviceName(const wchar_t* name)
{
    size_t n = name ? std::wcslen(name) : 0;
    if (n >= kStoredDeviceNameSize)
        n = kStoredDeviceNameSize - 1;
    std::wmemcpy(StoredDeviceName, name ? name : L"", n);
    StoredDeviceName[n] = L'\0';
}
