// Message boxes seen from a test.
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"

// The first top-level window that `match` accepts, polled for up to ms; nullptr when none came.
static HWND PollWindow(const std::function<bool(HWND)>& match, DWORD ms)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(20)) {
        for (HWND w : TopLevelWindows())
            if (match(w))
                return w;
        if (::GetTickCount() - start >= ms)
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
    for (DWORD start = ::GetTickCount(); ::IsWindow(box) && ::GetTickCount() - start < ms;)
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
