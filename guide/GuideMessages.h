// The guide's message boxes: texts from its string tables, OK button only.
#pragma once
#include <windows.h>
#include <string>

// String textId in a box owned by `owner`, captioned by string captionId; a "%1" in the text
// becomes `insert`.
void ShowGuideMessage(HWND owner, UINT textId, UINT captionId, const std::wstring& insert = L"");
