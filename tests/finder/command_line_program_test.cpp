// The real Lorrick.exe against wrong command lines, a missing library and a second copy.
#include "tests/finder/LorrickRun.h"
#include "frame/UiLanguage.h"
#include <gtest/gtest.h>
#include <cstdlib>

static const wchar_t kStartError[] =
    L"Application start error.\nThis application will be run from other applications.\nYou may not run correctly.";

TEST(LorrickCommandLine, WrongLinesShowTheStartErrorAndEnd)
{
    const std::string lines[] = {
        "Share disk1",                   // mode word letter case
        " share disk1",                  // leading blank
        "share disk1 ",                  // trailing blank
        "share disk 1",                  // blank inside the name
        "share  disk1",                  // two blanks in a row
        "share",                         // one word
        "",                              // no words
        "open disk1",                    // unknown mode word
        "share " + std::string(256, 'n'),  // name over its 255-character buffer
        std::string(20, 's') + " disk1",   // mode word over its buffer
        "share -disk1",                  // only a flag where the name belongs
    };
    for (const std::string& line : lines) {
        LorrickRun run(line);
        EXPECT_EQ(run.TakeMessageBox(10000), kStartError) << "[" << line << "]";
        EXPECT_EQ(run.WaitExit(10000), 0u) << "[" << line << "]";
        EXPECT_TRUE(run.Records(1000).empty());
    }
}

// Only the library beside the finder counts, not one in the current folder.
TEST(LorrickCommandLine, MissingLibraryIsReported)
{
    TempDir dir;
    ASSERT_TRUE(CopyFileW((OwnFolder() + L"Lorrick.exe").c_str(), (dir / L"Lorrick.exe").c_str(), FALSE));
    LorrickRun run("share lrknolib", dir / L"Lorrick.exe", {}, OwnFolder());
    EXPECT_EQ(run.TakeMessageBox(10000), L"Zev DLL is not available.");
    EXPECT_EQ(run.WaitExit(10000), 0u);
}

TEST(LorrickCommandLine, SecondCopyEndsSilently)
{
    LorrickRun first("Share disk1");  // holds the instance mutex while its message shows
    ASSERT_TRUE(first.MessageBox(10000));
    LorrickRun second("setting lrkping");
    EXPECT_EQ(second.WaitExit(10000), 0u);
    EXPECT_TRUE(second.Records(1000).empty());
    EXPECT_EQ(first.TakeMessageBox(5000), kStartError);
    EXPECT_EQ(first.WaitExit(10000), 0u);
}

static HMODULE LorrickResources()
{
    return LoadLibraryExW((OwnFolder() + L"Lorrick.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// A language without one of these would show an empty text or no dialog at all.
TEST(LorrickResources, EveryLanguageHoldsEveryStringAndDialog)
{
    HMODULE m = LorrickResources();
    ASSERT_TRUE(m);
    std::vector<UINT> ids = {10000, 10001, 10002, 10003, 10100, 10101, 10102, 10103,
                             11400, 11401, 20000, 20002, 20017, 20026};
    for (UINT i = 11000; i <= 11009; ++i) ids.push_back(i);
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        for (UINT id : ids) EXPECT_FALSE(ResourceString(m, id, lang).empty()) << lang << " " << id;
        for (UINT dlg : {5000, 5001})
            EXPECT_TRUE(FindResourceExW(m, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(dlg), lang)) << lang << " " << dlg;
        // The searching status grows by one dot per tick.
        EXPECT_EQ(ResourceString(m, 11009, lang), ResourceString(m, 11000, lang) + L".........") << lang;
    }
    EXPECT_TRUE(FindResourceW(m, MAKEINTRESOURCEW(1001), MAKEINTRESOURCEW(14)));  // group icon
    EXPECT_TRUE(FindResourceW(m, MAKEINTRESOURCEW(3000), MAKEINTRESOURCEW(2)));   // bitmap
    EXPECT_TRUE(FindResourceW(m, MAKEINTRESOURCEW(4000), MAKEINTRESOURCEW(12)));  // group cursor
    FreeLibrary(m);
}

// Run once per locale (see CMakeLists.txt): the box speaks the language the locale folds to.
TEST(LorrickLanguage, StartErrorInTheUserInterfaceLanguage)
{
    LANGID lang = FoldUILanguage(GetUserDefaultUILanguage());
    if (const char* expected = std::getenv("KIT_EXPECT_LANGUAGE")) {
        ASSERT_EQ(lang, LANGID(std::atoi(expected)));
    }
    HMODULE m = LorrickResources();
    ASSERT_TRUE(m);
    std::wstring text = ResourceString(m, 20026, lang);
    FreeLibrary(m);
    LorrickRun run("Share disk1");
    EXPECT_EQ(run.TakeMessageBox(10000), text);
    EXPECT_EQ(run.WaitExit(10000), 0u);
}
