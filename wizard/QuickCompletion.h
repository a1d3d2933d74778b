// The last step of a normal-mode quick setup: support files, desktop shortcuts, manual copy.
#pragma once
#include "wizard/DesktopShortcuts.h"
#include <windows.h>

class QuickSetupContext;

// Runs behind the wait dialog on the hidden confirmation page `page`: installs the guide
// files; when a shortcut is wanted, installs the finder and makes the shortcuts for the
// context's device; copies the manual when `manualTicked`. Missing files or icon keys end
// the process with exit code 1 after their message. Returns the new ManualCopyChecked.
int CompleteQuickSetup(HWND page, QuickSetupContext& context, int shareShortcut, int settingShortcut,
                       int manualTicked);

// String 85 in a foreground box, then exit code 1: a shortcut is wanted without its icon key.
[[noreturn]] void FatalIllegalConfig();
