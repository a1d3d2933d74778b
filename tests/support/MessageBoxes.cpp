// Message boxes seen from a test.
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include <vector>

namespace {

BOOL CALLBACK CollectWindow(HWND w, LPARAM all)
{
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(w);
    return TRUE;
}

}  // namespace

bool IsMessageBox(HWND w) { return IsDialogWindow(w) && ::GetDlgItem(w, 0xFFFF) != nullptr; }

HWND FindMessageBox(HWND owner, DWORD ms)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        for (HWND w : TopLevelWindows())
            if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w) && IsMessageBox(w))
                return w;
        if (::GetTickCount() - start >= ms)
            return nullptr;
        ::Sleep(20);
    }
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

HWND FindThreadDialog(DWORD threadId, DWORD ms)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        std::vector<HWND> all;
        ::EnumThreadWindows(threadId, CollectWindow, reinterpret_cast<LPARAM>(&all));
        for (HWND w : all)
            if (IsDialogWindow(w) && ::IsWindowVisible(w) && !IsMessageBox(w))
                return w;
        if (::GetTickCount() - start >= ms)
            return nullptr;
        ::Sleep(20);
    }
}
