// Message boxes whose text and caption come from the string table of the resource language.
#pragma once
#include <windows.h>
#include <string>

namespace afx {

// The string that names the program, when its table has one (the framework's application title).
constexpr UINT kAppTitleStringId = 0xE000;

// The program's name: the application title of the string table, else the program's file name
// without its extension.
std::wstring AfxAppName();

// The framework's message box: the program's name as caption, OK unless `type` asks otherwise,
// and when `type` names no icon the exclamation mark (OK, OK/Cancel) or the question mark
// (Yes/No, Yes/No/Cancel). The owner is the active window of this thread unless given.
// Returns the button pressed.
int AfxMessageBox(UINT textId, UINT type = MB_OK, HWND owner = nullptr);
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, HWND owner = nullptr);

// A box with caption string `captionId` and exactly `type` (no icon added), for the messages
// whose caption is not the program's name.
int MessageBoxRes(UINT textId, UINT captionId, UINT type = MB_OK, HWND owner = nullptr);

}  // namespace afx
