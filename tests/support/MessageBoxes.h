// Message boxes seen from a test: the box a window owns, its text, and a press of its button;
// dialogs driven from a test within a bound.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
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

// How long a driven dialog may run before its driver gives up on it.
constexpr DWORD kDriveBoundMs = 60000;

// The step a drive function has reached, named in the failure when its dialog misses the bound.
// Called on the driver's thread; elsewhere it does nothing.
void DriveStep(const std::wstring& step);
// Whether the dialog this thread drives is past its bound; drive loops end when it is. Also
// ends the pollers above early. False outside a driver.
bool DriveExpired();

// The bound of one driven dialog: a watchdog that, once the bound has passed, answers the message
// boxes of the dialog's thread, cancels its dialogs and keeps the step the driver had reached.
class DriveWatch {
public:
    DriveWatch(DWORD dialogThread, int cancelId, DWORD boundMs);
    ~DriveWatch();
    DriveWatch(const DriveWatch&) = delete;
    DriveWatch& operator=(const DriveWatch&) = delete;
    // Runs on the driver's thread: finds the dialog, then drives it.
    void Drive(const std::function<void(HWND)>& drive);
    // The modal run has ended; waits (bounded) for the driver. Empty, or what went wrong.
    std::string Finish(std::thread& driver);

    struct State;

private:
    std::shared_ptr<State> m_state;
    std::thread m_watchdog;
};

// Runs a dialog modally on this thread while `drive` works its window from another thread, as a
// user would; a window left open afterwards gets `cancelId`. A dialog that has not ended within
// boundMs (it never showed, or its driver is stuck or waiting for something that never comes)
// fails the test with the driver's step, its message boxes answered and the dialog cancelled.
// The dialog's result.
template <class Dialog>
INT_PTR RunDriven(Dialog& dialog, const std::function<void(HWND)>& drive, int cancelId = IDCANCEL,
                  DWORD boundMs = kDriveBoundMs)
{
    DriveWatch watch(::GetCurrentThreadId(), cancelId, boundMs);
    std::thread driver([&] { watch.Drive(drive); });
    INT_PTR result = dialog.DoModal();
    const std::string miss = watch.Finish(driver);
    if (!miss.empty())
        ADD_FAILURE() << miss;
    return result;
}
