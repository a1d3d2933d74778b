// Message boxes whose text and caption come from the string table of the resource language.
#pragma once
#include <windows.h>
#include <string>

namespace afx {

// Shows string `textId` with caption string `captionId`; `foreground` brings the box to the
// foreground (for messages shown before any window of the program exists). The owner is the
// active window of this thread unless given. Returns the button pressed.
int AfxMessageBox(UINT textId, UINT captionId, UINT type = MB_OK, bool foreground = false, HWND owner = nullptr);
// The same with a text of the caller's own.
int AfxMessageBox(const std::wstring& text, UINT captionId, UINT type = MB_OK, bool foreground = false, HWND owner = nullptr);

}  // namespace afx
