// Message boxes seen from a test: the box a window owns, its text, and a press of its button;
// dialogs driven from a test within a bound.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

// Whether the window is a message box (a dialog with the box's text control).
bool IsMessageBox(HWND w);
// The message box owned by `owner`, polled for up to ms; nullptr when none came.
HWND FindMessageBox(HWND owner, DWORD ms = 5000);
// The text of the box owned by `owner`, answered with `button`; empty when none came within ms.
std::wstring AnswerMessageBox(HWND owner, int button = IDOK, DWORD ms = 5000);
// Every message box `owner` shows, each answered with OK, in order, until none comes within ms.
std::vector<std::wstring> AnswerMessageBoxes(HWND owner, DWORD ms);
// A visible dialog window of a thread that is not a message box, polled for up to ms.
HWND FindThreadDialog(DWORD threadId, DWORD ms = 5000);

// How long a driven dialog may run before its driver gives up on it.
constexpr DWORD kDriveBoundMs = 60000;

// The step a drive function has reached, named in the failure when its dialog misses the bound.
// Called on the driver's thread; elsewhere it does nothing.
void DriveStep(const std::wstring& step);
// Whether the dialog this thread drives is past its bound; drive loops end when it is. Also
// ends the pollers above early. False outside a driver.
bool DriveExpired();

// Runs `modal` (a dialog's modal run) on this thread while `drive` works the dialog's window from
// another thread, as a user would; a window left open afterwards gets `cancelId`. A dialog that has
// not ended within boundMs (it never showed, or its driver is stuck or waiting for something that
// never comes) fails the test with the driver's step, its message boxes answered and the dialog
// cancelled; one that cannot be closed, or a driver that does not return, ends the test program.
// The modal run's result.
INT_PTR RunDrivenModal(const std::function<INT_PTR()>& modal, const std::function<void(HWND)>& drive, int cancelId,
                       DWORD boundMs);
template <class Dialog>
INT_PTR RunDriven(Dialog& dialog, const std::function<void(HWND)>& drive, int cancelId = IDCANCEL,
                  DWORD boundMs = kDriveBoundMs)
{
    return RunDrivenModal([&] { return INT_PTR(dialog.DoModal()); }, drive, cancelId, boundMs);
}
