// Message boxes seen from a test: the box a window owns, its text, and a press of its button.
#pragma once
#include <windows.h>
#include <string>

// The message box owned by `owner`, polled for up to ms; nullptr when none came.
HWND FindMessageBox(HWND owner, DWORD ms = 5000);
// The text of the box owned by `owner`, answered with `button`; empty when none came within ms.
std::wstring AnswerMessageBox(HWND owner, int button = IDOK, DWORD ms = 5000);
// A visible dialog window of a thread that is not a message box, polled for up to ms.
HWND FindThreadDialog(DWORD threadId, DWORD ms = 5000);
