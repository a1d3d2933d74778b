// The real Marrowick.exe: command line, start modes, page moves, broken picture folders, and,
// watched from outside, its running animation, its screenshot and its prompt end.
#include "resources/marrowick/resource.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace {
const wchar_t kStartupFailure[] =
    L"startup failure.\nThis application is executed from other applications.\nThere is a possibility that it was not correctly executed. ";

// A guide folder of its own: the program and the sample pictures, less the files named.
struct GuideFolder {
    TempDir dir;
    explicit GuideFolder(std::initializer_list<const wchar_t*> without = {})
    {
        ::CopyFileW((OwnFolder() + L"Marrowick.exe").c_str(), (dir / L"Marrowick.exe").c_str(), FALSE);
        std::error_code error;
        std::filesystem::copy(OwnFolder() + L"..\\guide-art\\Marrowick", Pictures(), error);
        for (const wchar_t* name : without) RemoveTree(Pictures() + (*name ? L"\\" : L"") + name);
    }
    std::wstring Pictures() const { return dir / L"Marrowick"; }
    std::unique_ptr<ProgramRun> Start(const std::wstring& args) const
    {
        return std::make_unique<ProgramRun>(dir / L"Marrowick.exe", args, dir.Path());
    }
};

bool Visible(HWND dlg, int id) { return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE; }
RECT Place(HWND dlg, int id)
{
    RECT r;
    ::GetWindowRect(::GetDlgItem(dlg, id), &r);
    ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
HWND MainDialog(const ProgramRun& run, DWORD ms = 15000)
{
    return run.WaitWindow([](HWND w) { return ::IsWindowVisible(w) && ::GetDlgItem(w, IDC_BUTTON_NEXT); }, ms);
}
HWND MessageBoxOf(const ProgramRun& run)
{
    return run.WaitWindow([](HWND w) { return ::IsWindowVisible(w) && IsMessageBox(w); });
}
// Whether a message box shows an icon, as the framework's box always does.
bool ShowsIcon(HWND box)
{
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::IsWindowVisible(c) && ::SendMessageW(c, STM_GETICON, 0, 0))
            return true;
    return false;
}
// The message box of a run: its text and caption (unless none given) checked, `more` run on it, OK pressed, the guide's end seen.
void ExpectBoxAndEnd(ProgramRun& run, const std::wstring& text, const wchar_t* caption, const std::wstring& what,
                     const std::function<void(HWND)>& more = nullptr)
{
    HWND box = MessageBoxOf(run);
    ASSERT_TRUE(box) << what << " exit " << run.WaitExit(0);
    EXPECT_EQ(MessageText(box), text) << what;
    EXPECT_TRUE(!caption || WindowText(box) == caption) << what;
    if (more)
        more(box);
    Press(box, IDOK);
    EXPECT_EQ(run.WaitExit(10000), 0u) << what;
}
using Longs = std::vector<LONG>;  // several places checked at once
int ShownPage(HWND dlg)
{
    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k)
        if (Visible(dlg, IDC_GUIDE_FIRST + k))
            return k;
    return -1;
}
// Presses a button, waits until the guide has handled it, and tells whether page `page` shows.
bool PressUntil(HWND dlg, int id, int page)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0, SMTO_NORMAL, 5000, &result);
    return ShownPage(dlg) == page;
}
}  // namespace

TEST(GuideCommandLine, RawLineAndStartMode)
{
    struct Case { const wchar_t* args; int firstPage; };  // -1: refused with string 1
    const Case cases[] = {
        {L"", -1}, {L"DV-1", -1}, {L" DV-1 1", -1}, {L"DV-1 1 more", -1}, {L"DV-1 7", -1},
        {L"DV-1 1", 0}, {L"DV-1 0", 1}, {L"DV-1  1", 0}, {L"DV-1 10", 0}, {L"DV-1 x", 1}, {L"DV-1 -1", 1},
    };
    GuideFolder folder;
    for (const Case& c : cases) {
        auto run = folder.Start(c.args);
        if (c.firstPage < 0) {
            ExpectBoxAndEnd(*run, kStartupFailure, L"Marrowick", c.args, [&](HWND box) { EXPECT_TRUE(ShowsIcon(box)) << c.args; });
            continue;
        }
        HWND dlg = MainDialog(*run);
        ASSERT_TRUE(dlg) << c.args << " exit " << run->WaitExit(0);
        EXPECT_EQ(ShownPage(dlg), c.firstPage) << c.args;
        Press(dlg, IDCANCEL);
        EXPECT_EQ(run->WaitExit(10000), 0u) << c.args;
    }
}

TEST(GuideCommandLine, SecondCopyEndsSilently)
{
    GuideFolder folder;
    auto first = folder.Start(L"DV-1 1");
    HWND dlg = MainDialog(*first);
    ASSERT_TRUE(dlg);
    ProgramRun second(folder.dir / L"Marrowick.exe", L"DV-1 1", folder.dir.Path());
    EXPECT_TRUE(second.EndsWithoutWindow(10000));
    EXPECT_EQ(second.WaitExit(1000), 0u);
    Press(dlg, IDCANCEL);
    EXPECT_EQ(first->WaitExit(10000), 0u);
}

TEST(GuidePages, NextBackAndFinishOverTwentyPages)
{
    GuideFolder folder;
    auto run = folder.Start(L"DV-1 1");
    HWND dlg = MainDialog(*run);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(WindowText(dlg), L"Marrowick setup guide");
    EXPECT_EQ(ShownPage(dlg), 0);
    EXPECT_TRUE(Visible(dlg, IDC_BUTTON_NEXT) && !Visible(dlg, IDC_BUTTON_BACK) && !Visible(dlg, IDC_BUTTON_FINISH));
    EXPECT_EQ((Longs{Place(dlg, IDC_BUTTON_NEXT).left, Place(dlg, IDC_BUTTON_NEXT).top}), (Longs{81, 327}));
    EXPECT_TRUE(Visible(dlg, IDC_ANIMATION_FIRST) && Visible(dlg, IDC_STEP_FIRST));
    ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_NEXT, 1));
    EXPECT_TRUE(Visible(dlg, IDC_BUTTON_BACK) && !Visible(dlg, IDC_BUTTON_FINISH));
    EXPECT_EQ((Longs{Place(dlg, IDC_BUTTON_BACK).left, Place(dlg, IDC_BUTTON_NEXT).left}), (Longs{11, 151}));
    EXPECT_TRUE(Visible(dlg, IDC_ANIMATION_FIRST + 1) && !Visible(dlg, IDC_ANIMATION_FIRST));
    ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_BACK, 0));
    EXPECT_FALSE(Visible(dlg, IDC_BUTTON_BACK));
    ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_BACK, 0));  // nothing before the first page
    for (int p = 1; p < GUIDE_PAGE_SLOTS; ++p) ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_NEXT, p));
    RECT finish = Place(dlg, IDC_BUTTON_FINISH);
    EXPECT_TRUE(Visible(dlg, IDC_BUTTON_FINISH) && Visible(dlg, IDC_BUTTON_BACK) && !Visible(dlg, IDC_BUTTON_NEXT));
    EXPECT_EQ((Longs{finish.left, finish.right - finish.left, finish.bottom - finish.top}), (Longs{151, 130, 40}));
    Press(dlg, IDC_BUTTON_FINISH);
    EXPECT_EQ(run->WaitExit(3000), 0u);
}

// GUIDE6 missing: five pages; a missing GUIDE_C7 lies beyond them; STEP2 hides one step bar.
TEST(GuidePages, FewerPagesStartModeZero)
{
    GuideFolder folder({L"GUIDE6.bmp", L"GUIDE_C7.gif", L"STEP2.bmp"});
    auto run = folder.Start(L"DV-1 0");
    HWND dlg = MainDialog(*run);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(ShownPage(dlg), 1);
    EXPECT_FALSE(Visible(dlg, IDC_STEP_FIRST + 1));
    EXPECT_FALSE(Visible(dlg, IDC_BUTTON_BACK));
    for (int p = 2; p <= 4; ++p) ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_NEXT, p));
    EXPECT_TRUE(Visible(dlg, IDC_STEP_FIRST + 4));
    EXPECT_TRUE(Visible(dlg, IDC_BUTTON_FINISH) && !Visible(dlg, IDC_BUTTON_NEXT));
    EXPECT_TRUE(PressUntil(dlg, IDC_BUTTON_NEXT, 4));  // nothing beyond the last page
    Press(dlg, IDC_BUTTON_FINISH);
    EXPECT_EQ(run->WaitExit(3000), 0u);
}

TEST(GuideFailures, BrokenFoldersAreNamedAndTheGuideEnds)
{
    struct Case { const wchar_t* missing; std::wstring file; };  // file: empty for the folder message
    const Case cases[] = {
        {L"", L""}, {L"BASE.bmp", L"BASE.bmp"}, {L"BUTTON_EXIT_FOCUS.bmp", L"BUTTON_EXIT_FOCUS.bmp"},
        {L"BUTTON_CANCEL.bmp", L"BUTTON_CANCEL.bmp"}, {L"GUIDE_C3.gif", L"GUIDE_C3.gif"},
        {L"GUIDE1.bmp", L"GUIDE1.bmp"}, {L"GUIDE_C2.gif*", L"GUIDE_C2.gif"},
    };
    for (const Case& c : cases) {
        std::wstring name = c.missing;
        bool corrupt = !name.empty() && name.back() == L'*';
        GuideFolder folder({corrupt ? L"-" : c.missing});
        if (corrupt)  // a GIF cut short after its header is as broken as a missing one
            WriteBytes(folder.Pictures() + L"\\" + c.file, std::string("GIF89a\x04\x00\x04\x00\x00\x00\x00", 13));
        auto run = folder.Start(L"DV-1 1");
        std::wstring expected = c.file.empty() ? L"Marrowick folder does not exist."
                                               : L"Marrowick file (" + folder.Pictures() + L"\\" + c.file + L") is invalid.";
        ExpectBoxAndEnd(*run, expected, L"Pellgrove", c.missing, [&](HWND) { EXPECT_FALSE(MainDialog(*run, 0)); });
    }
}

namespace {
// The screen under a window rectangle, as 24-bit rows.
std::string Capture(const RECT& r, BITMAPINFOHEADER& bi)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr), mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(mem, old);
    bi = {sizeof(bi), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string pixels(size_t((w * 3 + 3) & ~3) * h, '\0');
    ::GetDIBits(mem, bmp, 0, h, &pixels[0], reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// Saves what the screen shows of a window as <name>_<language>.bmp, when KIT_SCREENSHOT names
// the language.
void SaveScreenshot(HWND window, const std::wstring& name)
{
    const char* lang = std::getenv("KIT_SCREENSHOT");
    EXPECT_TRUE(!lang || SaveWindowShot(window, name + L"_" + Widen(lang)));
}
}  // namespace

// A message in the language the guide chose from the environment (KIT_EXPECT_LANGUAGE).
TEST(GuideScreens, MessagesComeInTheUserLanguage)
{
    const char* expect = std::getenv("KIT_EXPECT_LANGUAGE");
    std::wstring text = expect && std::atoi(expect) == 1041 ? L"Marrowick フォルダーが存在しません。"
                                                           : L"Marrowick folder does not exist.";
    GuideFolder folder({L""});
    auto run = folder.Start(L"DV-1 1");
    ExpectBoxAndEnd(*run, text, nullptr, L"", [](HWND box) { SaveScreenshot(box, L"guide_message"); });
}

// Page 14's finder sends out its search waves: the screen there changes, seen from outside.
TEST(GuideScreens, AnimationAdvancesAndTheGuideEndsPromptly)
{
    GuideFolder folder;
    DWORD started = ::GetTickCount();
    auto run = folder.Start(L"DV-1 1");
    HWND dlg = MainDialog(*run);
    ASSERT_TRUE(dlg);
    std::printf("[ measure  ] guide window up %lu ms after the start\n", (unsigned long)(::GetTickCount() - started));
    for (int p = 1; p <= 13; ++p) ASSERT_TRUE(PressUntil(dlg, IDC_BUTTON_NEXT, p));
    RECT anim;
    ::GetWindowRect(::GetDlgItem(dlg, IDC_ANIMATION_FIRST + 13), &anim);
    BITMAPINFOHEADER bi;
    std::vector<std::string> seen;
    for (int i = 0; i < 15; ++i, ::Sleep(100)) {
        std::string shot = Capture(anim, bi);
        if (std::find(seen.begin(), seen.end(), shot) == seen.end())
            seen.push_back(shot);
    }
    EXPECT_GE(seen.size(), 3u);  // six frames of 120 ms in 1.5 s

    SaveScreenshot(dlg, L"guide");
    const std::vector<std::string> unfit = UnfitTexts(dlg);
    EXPECT_TRUE(unfit.empty()) << Lines(unfit);

    DWORD pid = 0;
    ::GetWindowThreadProcessId(dlg, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    if (process && ::GetProcessMemoryInfo(process, &pmc, sizeof(pmc)))
        std::printf("[ measure  ] guide peak working set %lu KB, peak private bytes %lu KB\n",
                    (unsigned long)(pmc.PeakWorkingSetSize / 1024), (unsigned long)(pmc.PeakPagefileUsage / 1024));
    if (process)
        ::CloseHandle(process);

    DWORD start = ::GetTickCount();
    Press(dlg, IDCANCEL);
    EXPECT_EQ(run->WaitExit(2000), 0u);
    std::printf("[ measure  ] guide ended %lu ms after its dialog was closed\n", (unsigned long)(::GetTickCount() - start));
}

static INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A language without one of these would show an empty message or no window at all; the wait
// dialog, made from its template with its text as the guide sets it, shows that text whole.
TEST(GuideResources, EveryLanguageHoldsEveryStringAndDialog)
{
    HMODULE m = ::LoadLibraryExW((OwnFolder() + L"Marrowick.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        for (UINT id : {1, 13, 38, 43, 44, 47, 48, 49})
            EXPECT_FALSE(ResourceString(m, id, lang).empty()) << lang << " " << id;
        for (UINT id : {IDD_GUIDE_WAIT, IDD_GUIDE_MAIN})
            EXPECT_TRUE(::FindResourceExW(m, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), lang)) << lang << " " << id;
        HRSRC wait = ::FindResourceExW(m, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_GUIDE_WAIT), lang);
        HWND w = wait ? ::CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(::LockResource(::LoadResource(m, wait))),
                                                     nullptr, PlainDialog, 0)
                      : nullptr;
        ASSERT_TRUE(w) << lang;
        ::SetDlgItemTextW(w, IDC_WAIT_TEXT, ResourceString(m, IDS_PLEASE_WAIT, lang).c_str());
        const std::vector<std::string> unfit = UnfitTexts(w);
        EXPECT_TRUE(unfit.empty()) << lang << "\n" << Lines(unfit);
        ::DestroyWindow(w);
    }
    ::FreeLibrary(m);
}
