#include "tests/afx/TestDialog.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "afx/WorkerThread.h"
#include <gtest/gtest.h>

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

TEST(MessageBoxText, TextAndCaptionComeFromTheChosenTable)
{
    for (const Expected& e : kLanguages) {
        LanguageScope scope(e.lang);
        afx::CWorkerThread shower;
        ASSERT_TRUE(shower.Start([] { return unsigned(afx::AfxMessageBox(IDS_HELLO, IDS_CAPTION, MB_OKCANCEL, true)); }));
        HWND box = FindBox(e.error);
        ASSERT_NE(box, nullptr) << e.lang;
        wchar_t text[256] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 256);
        EXPECT_STREQ(text, e.hello) << e.lang;
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(shower.Join(5000));
        EXPECT_EQ(shower.ExitCode(), unsigned(IDCANCEL));
    }
}
