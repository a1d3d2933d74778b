// Desktop shortcuts that start the installed finder for one device, and the manual copy.
#pragma once
#include "wizard/ProductConfig.h"
#include "wizard/SupportFiles.h"
#include <string>

// The maker's remote-access service; the shortcut opens its root page.
extern const wchar_t kRemoteAccessAddress[];

// What every shortcut of one device shares: the device name and the folder the finder and
// the icons were installed in (ending in a backslash).
struct ShortcutOwner {
    std::wstring deviceName;
    std::wstring productFolder;
};

enum ShortcutMode { kSettingMode = 0, kShareMode = 1 };

// Writes one shell link to target with the arguments "share NAME" (mode 1) or
// "setting NAME" (any other mode), and, when iconPath is given, the icon of its file part
// in the product folder. 1 on success, 0 on failure.
int CreateShellShortcut(const ShortcutOwner& owner, const wchar_t* target, const wchar_t* linkPath,
                        const wchar_t* iconPath, const wchar_t* name, int mode);

// The wanted shortcuts in the order share, setting, remote access, on the desktop; a null
// suffix adds nothing to the device name. 1 when all wanted ones were made, 0 at the first
// failure (the later ones are not attempted). No desktop folder, or a device name that is
// not a plain file name or that the finder cannot take back from the link's arguments, makes
// no link and gives 0.
int CreateDesktopShortcuts(const ShortcutOwner& owner, int share, int setting, int remote,
                           const wchar_t* shareSuffix, const wchar_t* settingSuffix,
                           const wchar_t* shareIcon, const wchar_t* settingIcon,
                           const wchar_t* shareTarget, const wchar_t* settingTarget);

// The user's desktop folder, empty when the shell does not know it.
std::wstring DesktopFolder();

// Copies the CopyManual file (language value first) from the program folder to the desktop
// under its own name; nothing when the key is empty in both sections or the desktop folder is
// unknown. A missing source goes to `missing`.
void CopyManualToDesktop(const ConfigMap& base, const ConfigMap& lang,
                         const std::wstring& programFolder, MissingFilesHandler missing);

// The guide's start mode: 1 when a shortcut or the manual copy was chosen in normal mode.
int GuideStartMode(int shareShortcut, int settingShortcut, int manualCopy, int usbMode);
