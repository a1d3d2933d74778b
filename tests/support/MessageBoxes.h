// Message boxes seen from a test: the box a window owns, its text, and a press of its button.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
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

// Runs a dialog modally on this thread while `drive` works its window from another thread, as a
// user would; a window left open afterwards gets `cancelId`. The dialog's result.
template <class Dialog>
INT_PTR RunDriven(Dialog& dialog, const std::function<void(HWND)>& drive, int cancelId = IDCANCEL)
{
    DWORD self = ::GetCurrentThreadId();
    std::atomic<bool> ended{false};
    std::thread driver([&] {
        // However long a busy machine takes to show the dialog: it waits for us until it ends.
        HWND w = nullptr;
        while (!w && !ended)
            w = FindThreadDialog(self, 200);
        if (!w)
            return;
        drive(w);
        if (::IsWindow(w))
            ::PostMessageW(w, WM_COMMAND, MAKEWPARAM(cancelId, BN_CLICKED), 0);
    });
    INT_PTR result = dialog.DoModal();
    ended = true;
    driver.join();
    return result;
}
