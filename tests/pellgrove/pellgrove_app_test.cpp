#include "frame/PellgroveApp.h"
#include "frame/PellgroveWait.h"
#include "frame/UiLanguage.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>

namespace {

struct LanguageScope {
    explicit LanguageScope(LANGID lang) { afx::SetResourceLanguage(lang); }
    ~LanguageScope() { afx::SetResourceLanguage(1033); }
};

std::wstring SectionFor(LANGID ui, LANGID* locale = nullptr)
{
    LANGID l = 0;
    UINT id = 0;
    CPellgroveApp::LanguageFor(FoldUILanguage(ui), l, id);
    if (locale)
        *locale = l;
    return afx::LoadStrLang(id, 1033);
}

}  // namespace

TEST(PellgroveLanguage, EachUiLanguageGetsItsLocaleAndSection)
{
    LANGID locale;
    EXPECT_EQ(SectionFor(1033, &locale), L"EnglishUS");
    EXPECT_EQ(locale, 1033);
    EXPECT_EQ(SectionFor(1041, &locale), L"pellgrove");
    EXPECT_EQ(locale, 1041);
    EXPECT_EQ(SectionFor(1028, &locale), L"TraditionalChinese");
    EXPECT_EQ(locale, 1028);
    EXPECT_EQ(SectionFor(2052, &locale), L"SimplifiedChinese");
    EXPECT_EQ(locale, 2052);
    EXPECT_EQ(SectionFor(3076), L"TraditionalChinese");
    EXPECT_EQ(SectionFor(5124), L"TraditionalChinese");
    EXPECT_EQ(SectionFor(4100), L"SimplifiedChinese");
    EXPECT_EQ(SectionFor(1031, &locale), L"EnglishUS");
    EXPECT_EQ(locale, 1033);
    LANGID l = 0;
    UINT id = 0;
    CPellgroveApp::LanguageFor(0, l, id);  // the version could not be read
    EXPECT_EQ(l, 1033);
    EXPECT_EQ(id, UINT(IDS_SECTION_ENGLISH));
}

TEST(PellgroveWaitDialog, ShowsPleaseWaitInTheChosenLanguageWithABarOfTenSteps)
{
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        LanguageScope scope(lang);
        PellgroveWait wait;
        ASSERT_TRUE(wait.Create()) << lang;
        EXPECT_EQ(wait.GetWindowText(), L"Pellgrove");
        EXPECT_EQ(wait.GetDlgItemText(IDC_WAIT_TEXT), afx::LoadStrLang(IDS_PLEASE_WAIT, lang));
        EXPECT_EQ(wait.m_strText, afx::LoadStrLang(IDS_PLEASE_WAIT, lang));
        int low = -1, high = -1;
        wait.m_progress.GetRange(low, high);
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 9);
        wait.m_progress.SendMessage(PBM_SETPOS, 12);
        EXPECT_EQ(wait.m_progress.GetPos(), 9);
        wait.m_progress.SendMessage(PBM_SETPOS, WPARAM(-3));
        EXPECT_EQ(wait.m_progress.GetPos(), 0);
        EXPECT_TRUE(wait.GetExStyle() & WS_EX_TOOLWINDOW);
        wait.DestroyWindow();
    }
    afx::SetResourceLanguage(1033);
    EXPECT_EQ(afx::LoadStr(IDS_PLEASE_WAIT), L"Please wait.");
}

TEST(PellgroveVersion, TheProgramCarriesAllTwelveVersionStrings)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Pellgrove.exe";
    CVersionInfoReader v;
    ASSERT_EQ(v.Read(exe.c_str()), 1);
    EXPECT_EQ(v.FileDescription, L"Pellgrove");
    for (const std::wstring* s : {&v.Comments, &v.InternalName, &v.ProductName, &v.CompanyName,
                                  &v.LegalCopyright, &v.ProductVersion, &v.LegalTradeMarks, &v.PrivateBuild,
                                  &v.FileVersion, &v.OriginalFilename, &v.SpecialBuild})
        EXPECT_FALSE(s->empty());
}

// FatalMissingFiles ends its process, so it runs in a copy of this test program started with
// a filter that selects only the part below.
TEST(PellgroveFatal, ChildPart)
{
    if (!_wgetenv(L"KIT_FATAL_CHILD"))
        GTEST_SKIP() << "runs only as the child of FatalMissingFilesShowsString42AndExitsWithOne";
    CPellgroveApp::FatalMissingFiles();
}

TEST(PellgroveFatal, FatalMissingFilesShowsString42AndExitsWithOne)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" --gtest_filter=PellgroveFatal.ChildPart";
    ::SetEnvironmentVariableW(L"KIT_FATAL_CHILD", L"1");
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    BOOL started = ::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableW(L"KIT_FATAL_CHILD", nullptr);
    ASSERT_TRUE(started);

    struct Search {
        DWORD pid;
        HWND box;
        static BOOL CALLBACK Proc(HWND w, LPARAM lp)
        {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == s->pid && ::IsWindowVisible(w)) {
                s->box = w;
                return FALSE;
            }
            return TRUE;
        }
    } search{pi.dwProcessId, nullptr};
    for (int i = 0; i < 300 && !search.box; ++i) {
        ::EnumWindows(Search::Proc, reinterpret_cast<LPARAM>(&search));
        if (!search.box)
            ::Sleep(50);
    }
    ASSERT_NE(search.box, nullptr);
    wchar_t text[512] = {};
    ::GetWindowTextW(::GetDlgItem(search.box, 0xFFFF), text, 512);
    EXPECT_EQ(std::wstring(text), afx::LoadStrLang(IDS_INTERNAL_ERROR, 1033));
    ::PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 1u);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
}
