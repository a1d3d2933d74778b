// Message boxes seen from a test, and the bound of a driven dialog.
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

// After the bound: how long the dialog may take to close, and its driver to return.
constexpr DWORD kGraceMs = 15000;

// One driven dialog: its thread and bound, and the step its driver has reached.
struct Drive {
    Drive(DWORD t, int c, DWORD b) : thread(t), cancelId(c), boundMs(b) {}
    const DWORD thread;
    const int cancelId;
    const DWORD boundMs;
    std::mutex lock;
    std::condition_variable changed;
    std::wstring step = L"waiting for the dialog to show", stepAtBound;
    std::atomic<bool> expired{false};
    bool modalEnded = false, driverLeft = false;

    bool WaitFor(DWORD ms, bool Drive::*flag)
    {
        std::unique_lock<std::mutex> hold(lock);
        return changed.wait_for(hold, std::chrono::milliseconds(ms), [&] { return this->*flag; });
    }
    void Set(bool Drive::*flag)
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            this->*flag = true;
        }
        changed.notify_all();
    }
    std::string Step()
    {
        std::lock_guard<std::mutex> hold(lock);
        const std::wstring& at = stepAtBound.empty() ? step : stepAtBound;
        return std::string(at.begin(), at.end());
    }
    // What closing could not end: the test program says so and ends rather than wait for ever.
    [[noreturn]] void Abandon(const char* what)
    {
        std::fprintf(stderr, "driven dialog: %s; the driver was at: %s. The test program ends here.\n", what,
                     Step().c_str());
        std::fflush(stdout);
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
        for (;;) ::Sleep(1000);
    }
};

thread_local Drive* t_driving = nullptr;

// Answers every message box of the thread with its mildest button and cancels its dialogs.
void CloseThreadWindows(DWORD thread, int cancelId)
{
    for (HWND w : TopLevelWindows()) {
        if (::GetWindowThreadProcessId(w, nullptr) != thread || !IsDialogWindow(w))
            continue;
        if (!IsMessageBox(w)) {
            Press(w, cancelId);
            if (cancelId != IDCANCEL)
                Press(w, IDCANCEL);
        } else {
            Press(w, ::GetDlgItem(w, IDCANCEL) ? IDCANCEL : ::GetDlgItem(w, IDNO) ? IDNO : IDOK);
        }
    }
}

void Watchdog(Drive* s)
{
    if (s->WaitFor(s->boundMs, &Drive::modalEnded))
        return;
    {
        std::lock_guard<std::mutex> hold(s->lock);
        s->stepAtBound = s->step;
    }
    s->expired = true;
    // Boxes may come one after another, and a post may land in a nested loop: again until it ends.
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kGraceMs;) {
        CloseThreadWindows(s->thread, s->cancelId);
        if (s->WaitFor(300, &Drive::modalEnded))
            return;
    }
    s->Abandon("still open after its bound although its boxes were answered and it was cancelled");
}

}  // namespace

INT_PTR RunDrivenModal(const std::function<INT_PTR()>& modal, const std::function<void(HWND)>& drive, int cancelId,
                       DWORD boundMs)
{
    Drive s(::GetCurrentThreadId(), cancelId, boundMs);
    std::thread watchdog(Watchdog, &s);
    std::thread driver([&] {
        t_driving = &s;
        // However long a busy machine takes to show the dialog: up to the bound.
        HWND w = nullptr;
        while (!w && !DriveExpired() && !s.WaitFor(0, &Drive::modalEnded))
            w = FindThreadDialog(s.thread, 200);
        if (w) {
            DriveStep(L"the dialog has shown");
            drive(w);
            if (::IsWindow(w))
                ::PostMessageW(w, WM_COMMAND, MAKEWPARAM(cancelId, BN_CLICKED), 0);
        }
        s.Set(&Drive::driverLeft);
    });
    INT_PTR result = modal();
    s.Set(&Drive::modalEnded);
    watchdog.join();
    // A driver that does not see its dialog gone is stuck inside its drive function.
    if (!s.WaitFor(kGraceMs, &Drive::driverLeft))
        s.Abandon("its driver did not return after the dialog ended");
    driver.join();
    if (s.expired)
        ADD_FAILURE() << "the driven dialog was still open after " << boundMs << " ms; the driver was at: "
                      << s.Step() << " (its message boxes answered, the dialog cancelled)";
    return result;
}

void DriveStep(const std::wstring& step)
{
    if (Drive* s = t_driving) {
        std::lock_guard<std::mutex> hold(s->lock);
        s->step = step;
    }
}

bool DriveExpired() { return t_driving && t_driving->expired; }

// The first top-level window that `match` accepts, polled for up to ms; nullptr when none came
// (or the dialog being driven ran past its bound).
static HWND PollWindow(const std::function<bool(HWND)>& match, DWORD ms)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(20)) {
        for (HWND w : TopLevelWindows())
            if (match(w))
                return w;
        if (::GetTickCount() - start >= ms || DriveExpired())
            return nullptr;
    }
}

bool IsMessageBox(HWND w) { return IsDialogWindow(w) && ::GetDlgItem(w, 0xFFFF) != nullptr; }

HWND FindMessageBox(HWND owner, DWORD ms)
{
    return PollWindow([owner](HWND w) {
        return ::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w) && IsMessageBox(w);
    }, ms);
}

std::wstring AnswerMessageBox(HWND owner, int button, DWORD ms)
{
    HWND box = FindMessageBox(owner, ms);
    if (!box)
        return std::wstring();
    std::wstring text = MessageText(box);
    Press(box, button);
    // Gone once the owner's thread has handled the press.
    for (DWORD start = ::GetTickCount(); ::IsWindow(box) && ::GetTickCount() - start < ms && !DriveExpired();)
        ::Sleep(10);
    return text;
}

std::vector<std::wstring> AnswerMessageBoxes(HWND owner, DWORD ms)
{
    std::vector<std::wstring> texts;
    for (std::wstring t; !(t = AnswerMessageBox(owner, IDOK, ms)).empty();)
        texts.push_back(t);
    return texts;
}

HWND FindThreadDialog(DWORD threadId, DWORD ms)
{
    return PollWindow([threadId](HWND w) {
        return ::GetWindowThreadProcessId(w, nullptr) == threadId && IsDialogWindow(w) && ::IsWindowVisible(w) &&
               !IsMessageBox(w);
    }, ms);
}
