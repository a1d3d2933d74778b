// Quentari.exe seen from outside: the hand-over to a running copy, its main window and version box
// with every text whole.
#include "afx/NamedMutex.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/QuentariRes.h"
#include "tests/support/ForeignTextFit.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

const wchar_t kMutex1[] = L"{Zev719967F0-DCC6-49b5-9C61-DE91175C3187}";
const wchar_t kMutex2[] = L"{Zev2nd719967F0-DCC6-49b5-9C61-DE91175C3187}";

std::wstring Exe() { return OwnFolder() + L"Quentari.exe"; }

LANGID Language()
{
    const char* expected = std::getenv("KIT_EXPECT_LANGUAGE");
    return expected ? LANGID(std::atoi(expected)) : 1033;
}

std::wstring StringOf(UINT id)
{
    HMODULE m = LoadLibraryExW(Exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::wstring s = m ? afx::LoadStrLang(id, Language(), m) : std::wstring();
    if (m)
        FreeLibrary(m);
    return s;
}

HWND MainWindow(const ProgramRun& run)
{
    std::wstring title = StringOf(1);
    return run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && WindowText(h) == title; });
}

}  // namespace

TEST(QuentariHandOver, SecondStartBringsTheHiddenOrMinimisedCopyForward)
{
    ProgramRun first(Exe());
    HWND main = MainWindow(first);
    ASSERT_TRUE(main);
    for (int how : {SW_HIDE, SW_MINIMIZE}) {
        ShowWindow(main, how);
        ProgramRun second(Exe());
        EXPECT_TRUE(second.EndsWithoutWindow(15000)) << how;
        EXPECT_TRUE(IsWindowVisible(main)) << how;
        EXPECT_FALSE(IsIconic(main)) << how;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitExit(15000), 0u);
}

TEST(QuentariHandOver, StartsThatFindNoWindowToHandOverTo)
{
    afx::CNamedMutex one(kMutex1);
    {
        // Another copy holds the name but shows no window with the title.
        ProgramRun run(Exe());
        HWND box = run.WaitWindow([](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF); });
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageText(box), StringOf(68));
        Press(box, IDOK);
        EXPECT_EQ(run.WaitExit(15000), 0u);
    }
    // A second copy is handing over already: a third one ends silently.
    afx::CNamedMutex two(kMutex2);
    ProgramRun run(Exe());
    EXPECT_TRUE(run.EndsWithoutWindow(15000));
}

TEST(QuentariLanguage, MainWindowAndVersionBox)
{
    ProgramRun run(Exe());
    HWND main = MainWindow(run);
    ASSERT_TRUE(main) << "no window titled " << std::string(StringOf(1).begin(), StringOf(1).end());
    EXPECT_EQ(ItemText(main, 1013), StringOf(5));
    EXPECT_EQ(ItemText(main, 1015), StringOf(17));
    for (int id : {1011, 1012}) {
        RECT r = {};
        GetWindowRect(GetDlgItem(main, id), &r);
        EXPECT_EQ(r.right - r.left, 93) << id;
    }
    std::vector<std::string> unfit = UnfitTextsOf(main, Exe(), IDD_QUENTARI, Language());
    EXPECT_TRUE(unfit.empty()) << Lines(unfit);
    std::wstring lang = std::to_wstring(Language());
    SaveWindowShot(main, L"quentari_main_" + lang);

    // Alt+V, as the keyboard would deliver it.
    PostMessageW(main, WM_SYSKEYDOWN, 'V', 0x20000001);
    HWND box = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && h != main && IsWindowVisible(h); });
    ASSERT_TRUE(box);
    EXPECT_EQ(ItemText(box, 1029), StringOf(1006));
    unfit = UnfitTextsOf(box, Exe(), IDD_VERSION, Language());
    EXPECT_TRUE(unfit.empty()) << Lines(unfit);
    SaveWindowShot(box, L"quentari_version_" + lang);
    Press(box, IDOK);

    // Also over a message box, whose loop is the system's: once the first search is done, a setup
    // result without an answer says "no response".
    for (int i = 0; i < 300 && ItemText(main, 1028) != StringOf(102); ++i)
        Sleep(100);
    Sleep(700);  // a timer tick of the idle dialog
    unfit = UnfitTextsOf(main, Exe(), IDD_QUENTARI, Language());
    EXPECT_TRUE(unfit.empty()) << "search ended:\n" << Lines(unfit);
    PostMessageW(main, 0x380, 0, 0);
    HWND caution = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF); });
    ASSERT_TRUE(caution);
    PostMessageW(caution, WM_SYSKEYDOWN, 'V', 0x20000001);
    box = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 1029); }, 5000);
    ASSERT_TRUE(box) << "no version box over the message box";
    Press(box, IDOK);
    Press(caution, IDOK);
    Press(main, 1012);
    EXPECT_EQ(run.WaitExit(15000), 0u);
}
