// Texts of a dialog of another process that the screen would not show whole.
#pragma once
#include "tests/support/TextFit.h"

// UnfitTexts (TextFit.h) of a dialog that another process shows from template `templateId` of
// `exe` in language `lang`. A font does not cross processes (under Wine, WM_GETFONT sent from
// outside answers nothing), so the dialog is made again here from that template, each control
// with the place, text, visibility and enabled state of its counterpart, and the copy is measured.
std::vector<std::string> UnfitTextsOf(HWND dialog, const std::wstring& exe, UINT templateId, LANGID lang);
