// The wizard's start-up as a whole program.
#include "wizard/PellgroveApp.h"
#include "frame/PellgroveWait.h"
#include "frame/UiLanguage.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TextFit.h"
#include <gtest/gtest.h>

// The section each language reads is seen from outside in the locale runs of the end-to-end
// tests; the locale it sets and the fallback when the version cannot be read are not.
TEST(PellgroveLanguage, EachLanguageGetsItsOwnLocaleAndAnUnknownOneEnglish)
{
    for (LANGID lang : {1033, 1041, 1028, 2052, 0}) {
        LANGID locale = 0;
        UINT section = 0;
        CPellgroveApp::LanguageFor(lang, locale, section);
        EXPECT_EQ(locale, lang ? lang : 1033);
        if (!lang) {
            EXPECT_EQ(section, UINT(IDS_SECTION_ENGLISH));
        }
    }
}

TEST(PellgroveWaitDialog, ShowsPleaseWaitInTheChosenLanguageWithABarOfTenSteps)
{
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        afx::SetResourceLanguage(lang);
        PellgroveWait wait;
        ASSERT_TRUE(wait.Create()) << lang;
        EXPECT_EQ(wait.GetWindowText(), L"Pellgrove");
        EXPECT_EQ(wait.GetDlgItemText(IDC_WAIT_TEXT), afx::LoadStrLang(IDS_PLEASE_WAIT, lang));
        EXPECT_EQ(wait.m_strText, afx::LoadStrLang(IDS_PLEASE_WAIT, lang));
        int low = -1, high = -1;
        wait.m_progress.GetRange(low, high);
        EXPECT_EQ(std::make_pair(low, high), std::make_pair(0, 9));
        wait.m_progress.SendMessage(PBM_SETPOS, 12);
        EXPECT_EQ(wait.m_progress.GetPos(), 9);
        wait.m_progress.SendMessage(PBM_SETPOS, WPARAM(-3));
        EXPECT_EQ(wait.m_progress.GetPos(), 0);
        EXPECT_TRUE(wait.GetExStyle() & WS_EX_TOOLWINDOW);
        const std::vector<std::string> unfit = UnfitTexts(wait.m_hWnd);
        EXPECT_TRUE(unfit.empty()) << lang << "\n" << Lines(unfit);
        wait.DestroyWindow();
    }
    afx::SetResourceLanguage(1033);
    EXPECT_EQ(afx::LoadStr(IDS_PLEASE_WAIT), L"Please wait.");
}

TEST(PellgroveVersion, TheProgramCarriesAllTwelveVersionStrings)
{
    CVersionInfoReader v;
    ASSERT_EQ(v.Read((OwnFolder() + L"Pellgrove.exe").c_str()), 1);
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
    ProgramRun child(self, L"--gtest_filter=PellgroveFatal.ChildPart", L"", {{L"KIT_FATAL_CHILD", L"1"}});
    HWND box = child.WaitWindow();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), afx::LoadStrLang(IDS_INTERNAL_ERROR, 1033));
    Press(box, IDOK);
    EXPECT_EQ(child.WaitExit(), 1u);
}
