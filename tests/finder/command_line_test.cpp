// What the program-level tests cannot reach: lines the finder accepts, and how it splits them.
#include "finder/CommandLine.h"
#include <gtest/gtest.h>
#include <string>

static bool Parse(const std::string& tail, CPellgroveCommandLineInfo& info)
{
    return HasExactlyOneBlank(tail.c_str()) && info.ParseWords(SplitCommandLine(tail.c_str()));
}

TEST(FinderCommandLine, AcceptedLinesSetModeAndTarget)
{
    struct { std::string line; int mode; std::string target; } cases[] = {
        {"share disk1", 0, "disk1"},
        {"setting disk1", 1, "disk1"},
        {"-x disk1", 0, "disk1"},  // a flag word is skipped
        {"share " + std::string(255, 'n'), 0, std::string(255, 'n')},  // fills the buffer exactly
    };
    for (const auto& c : cases) {
        CPellgroveCommandLineInfo info;
        ASSERT_TRUE(Parse(c.line, info)) << c.line;
        EXPECT_EQ(info.m_nMode, c.mode) << c.line;
        EXPECT_EQ(std::string(info.m_szTarget), c.target) << c.line;
    }
    CPellgroveCommandLineInfo longName;
    EXPECT_FALSE(Parse("share " + std::string(256, 'n'), longName));
    EXPECT_STREQ(longName.m_szTarget, "");  // refused, not cut
    EXPECT_FALSE(HasExactlyOneBlank(nullptr));
}

TEST(FinderCommandLine, TailSkipsProgramNameAndOneBlank)
{
    EXPECT_STREQ(CommandLineTail("\"C:\\a b\\Lorrick.exe\" share x"), "share x");
    EXPECT_STREQ(CommandLineTail("Lorrick.exe  share x"), " share x");
    EXPECT_STREQ(CommandLineTail("Lorrick.exe"), "");
    EXPECT_STREQ(CommandLineTail("\"unterminated"), "");
}

TEST(FinderCommandLine, SplitFollowsRuntimeQuoting)
{
    auto w = SplitCommandLine("\"share\" \"a b\" c\\\\\"d e\" \\\"q");
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0], "share");
    EXPECT_EQ(w[1], "a b");
    EXPECT_EQ(w[2], "c\\d e");
    EXPECT_EQ(w[3], "\"q");
}
