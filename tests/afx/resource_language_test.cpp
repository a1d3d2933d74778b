// Strings, dialogs and message boxes in the resource language chosen at run time.
#include "tests/afx/TestDialog.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "afx/WorkerThread.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include <gtest/gtest.h>
#include <atomic>
#include <vector>

namespace {

struct Expected {
    LANGID lang;
    const wchar_t* caption;
    const wchar_t* error;
    const wchar_t* hello;
};
const Expected kLanguages[] = {
    {1033, L"Test dialog", L"error", L"Hello from the table"},
    {1041, L"テスト ダイアログ", L"エラー", L"テーブルからこんにちは"},
    {1028, L"測試對話方塊", L"錯誤", L"來自字串表的問候"},
    {2052, L"测试对话框", L"错误", L"来自字符串表的问候"},
};

// Restores English for the tests that follow.
struct LanguageScope {
    explicit LanguageScope(LANGID lang) { afx::SetResourceLanguage(lang); }
    ~LanguageScope() { afx::SetResourceLanguage(1033); }
};

// The message box that this process shows with `caption`, waiting up to five seconds.
// Other programs under test may show boxes with the same caption at the same time.
HWND FindBox(const std::wstring& caption)
{
    struct Search {
        std::wstring caption;
        HWND found;
        static BOOL CALLBACK Proc(HWND w, LPARAM lp)
        {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            wchar_t cls[16] = {}, text[64] = {};
            ::GetClassNameW(w, cls, 16);
            ::GetWindowTextW(w, text, 64);
            if (pid == ::GetCurrentProcessId() && std::wstring(cls) == L"#32770" && s->caption == text) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        }
    } search{caption, nullptr};
    for (int i = 0; i < 100 && !search.found; ++i) {
        ::EnumWindows(Search::Proc, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            ::Sleep(50);
    }
    return search.found;
}

// A thread that shows one message box; however its row went, the box is answered and the thread
// ends with the row, for a box nobody answered would keep the join waiting for ever.
struct BoxThread : afx::CWorkerThread {
    std::atomic<DWORD> id{0};
    ~BoxThread()
    {
        for (DWORD start = ::GetTickCount(); IsRunning() && ::GetTickCount() - start < 5000; ::Sleep(50))
            for (HWND w : TopLevelWindows())
                if (::GetWindowThreadProcessId(w, nullptr) == id && IsMessageBox(w))
                    Press(w, IDCANCEL);
        Stop(1000);
    }
};

}  // namespace

TEST(ResourceLanguage, DialogsAndStringsComeFromTheChosenTable)
{
    for (const Expected& e : kLanguages) {
        LanguageScope scope(e.lang);
        EXPECT_EQ(afx::LoadStr(IDS_HELLO), e.hello) << e.lang;
        TestDialog dlg;
        ASSERT_TRUE(dlg.Create()) << e.lang;
        EXPECT_EQ(dlg.GetWindowText(), e.caption) << e.lang;
        dlg.DestroyWindow();
    }
}

TEST(ResourceLanguage, AMissingLanguageFallsBackToEnglish)
{
    LanguageScope scope(1031);
    EXPECT_EQ(afx::LoadStr(IDS_HELLO), L"Hello from the table");
    EXPECT_EQ(afx::LoadStr(999), L"");
}

// The icon a message box shows, or nullptr.
HICON BoxIcon(HWND box)
{
    HICON found = nullptr;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (HICON i = ::IsWindowVisible(c) ? reinterpret_cast<HICON>(::SendMessageW(c, STM_GETICON, 0, 0)) : nullptr)
            found = i;
    return found;
}

TEST(MessageBoxText, TextCaptionAndIconFollowTheFramework)
{
    // English rows: the framework's box (the program's name, the icon its buttons call for);
    // then per language a box with a caption of its own and exactly the type given.
    struct Row { LANGID lang; bool framework; UINT type; const char* icon; const wchar_t* caption; const wchar_t* hello; };
    std::vector<Row> rows = {{1033, true, MB_OKCANCEL, IDI_EXCLAMATION, L"afx_tests", kLanguages[0].hello},
                             {1033, true, MB_YESNOCANCEL, IDI_QUESTION, L"afx_tests", kLanguages[0].hello},
                             {1033, true, MB_OKCANCEL | MB_ICONERROR, IDI_ERROR, L"afx_tests", kLanguages[0].hello}};
    for (const Expected& e : kLanguages)
        rows.push_back({e.lang, false, MB_OKCANCEL, nullptr, e.error, e.hello});
    for (const Row& r : rows) {
        LanguageScope scope(r.lang);
        BoxThread shower;
        ASSERT_TRUE(shower.Start([&r, &shower] {
            shower.id = ::GetCurrentThreadId();
            return unsigned(r.framework ? afx::AfxMessageBox(IDS_HELLO, r.type | MB_SETFOREGROUND)
                                        : afx::MessageBoxRes(IDS_HELLO, IDS_CAPTION, r.type | MB_SETFOREGROUND));
        }));
        HWND box = FindBox(r.caption);
        ASSERT_NE(box, nullptr) << r.lang << " " << r.type;
        wchar_t text[256] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 256);
        EXPECT_STREQ(text, r.hello) << r.lang;
        EXPECT_EQ(BoxIcon(box), r.icon ? ::LoadIconA(nullptr, r.icon) : nullptr) << r.type;
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(shower.Join(5000));
        EXPECT_EQ(shower.ExitCode(), unsigned(IDCANCEL));
    }
}
