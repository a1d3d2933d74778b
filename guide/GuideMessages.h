// The guide's message boxes: texts from its string tables, OK button only.
#pragma once
#include <windows.h>
#include <string>

// String 1 in the framework's box: the program's base name as caption, no owner.
void ShowStartupFailure();
// String textId in a box owned by `owner`, captioned by string captionId; a "%1" in the text
// becomes `insert`.
void ShowGuideMessage(HWND owner, UINT textId, UINT captionId, const std::wstring& insert = L"");
