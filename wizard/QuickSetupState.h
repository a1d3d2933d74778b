// Process-wide state of the quick setup that outlives its pages: the completion choices that
// the guide launch reads after the page loop, and the device name as the settings file had it.
#pragma once
#include <cstdint>

// Check 1027 of the confirmation page: a desktop shortcut to the device's shared folders.
extern int32_t ShareShortcutChecked;
// Check 1040 of the confirmation page: a desktop shortcut to the device's web setting screen.
extern int32_t SettingShortcutChecked;
// Set by the completion when the manual copy was ticked.
extern int32_t ManualCopyChecked;

constexpr int kStoredDeviceNameSize = 260;
// The record's name right after the checks of the last run, before any page changed it.
extern wchar_t StoredDeviceName[kStoredDeviceNameSize];
// Copies a name into StoredDeviceName, cut to fit and always terminated.
void StoreDeviceName(const wchar_t* name);
