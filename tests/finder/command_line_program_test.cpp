// The real Lorrick.exe against wrong command lines, a missing library and a second copy.
#include "lorrick_process.h"
#include <gtest/gtest.h>

static const wchar_t kStartError[] =
    L"Application start error.\nThis application will be run from other applications.\nYou may not run correctly.";

TEST(LorrickCommandLine, WrongLinesShowTheStartErrorAndEnd)
{
    const std::string lines[] = {
        "Share disk1",                   // mode word letter case
        " share disk1",                  // leading blank
        "share disk 1",                  // blank inside the name
        "share  disk1",                  // two blanks in a row
        "share",                         // one word
        "open disk1",                    // unknown mode word
        "share " + std::string(256, 'n'),  // name over its 255-character buffer
        std::string(20, 's') + " disk1",   // mode word over its buffer
        "share -disk1",                  // only a flag where the name belongs
    };
    for (const std::string& line : lines) {
        LorrickRun run(line);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.TakeMessageBox(10000), kStartError) << "[" << line << "]";
        EXPECT_EQ(run.WaitExit(10000), 0u) << "[" << line << "]";
        EXPECT_TRUE(run.Records().empty());
    }
}

TEST(LorrickCommandLine, MissingLibraryIsReported)
{
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string dir = std::string(tmp) + "lorrick_nolib_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string exe = dir + "\\Lorrick.exe";
    ASSERT_TRUE(CopyFileA((ExeDir() + "\\Lorrick.exe").c_str(), exe.c_str(), FALSE));
    {
        LorrickRun run("share lrknolib", exe);
        EXPECT_EQ(run.TakeMessageBox(10000), L"Zev DLL is not available.");
        EXPECT_EQ(run.WaitExit(10000), 0u);
    }
    DeleteFileA(exe.c_str());
    RemoveDirectoryA(dir.c_str());
}

TEST(LorrickCommandLine, SecondCopyEndsSilently)
{
    LorrickRun first("Share disk1");  // holds the instance mutex while its message shows
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(first.FindMessageBox(10000));
    LorrickRun second("setting lrkping");
    EXPECT_EQ(second.WaitExit(10000), 0u);
    EXPECT_TRUE(second.Records().empty());
    EXPECT_EQ(first.TakeMessageBox(5000), kStartError);
    EXPECT_EQ(first.WaitExit(10000), 0u);
}

TEST(LorrickCommandLine, MessagesFollowTheUserInterfaceLanguage)
{
    SetEnvironmentVariableA("LC_ALL", "ja_JP.UTF-8");
    LorrickRun run("Share disk1");
    SetEnvironmentVariableA("LC_ALL", nullptr);
    std::wstring text = run.TakeMessageBox(10000);
    EXPECT_EQ(text.substr(0, 9), L"アプリケーションの");
    EXPECT_EQ(run.WaitExit(10000), 0u);
}
