#include "finder/CommandLine.h"
#include <gtest/gtest.h>
#include <string>

TEST(FinderCommandLine, BlankRuleAcceptsOnlyTwoWordsWithOneBlank)
{
    EXPECT_TRUE(HasExactlyOneBlank("share disk1"));
    EXPECT_FALSE(HasExactlyOneBlank("share"));
    EXPECT_FALSE(HasExactlyOneBlank(""));
    EXPECT_FALSE(HasExactlyOneBlank(nullptr));
    EXPECT_FALSE(HasExactlyOneBlank(" share disk1"));
    EXPECT_FALSE(HasExactlyOneBlank("share  disk1"));
    EXPECT_FALSE(HasExactlyOneBlank("share disk 1"));
    EXPECT_FALSE(HasExactlyOneBlank("share disk1 "));
}

static bool Parse(const char* tail, CPellgroveCommandLineInfo& info)
{
    return info.ParseWords(SplitCommandLine(tail));
}

TEST(FinderCommandLine, ModeWordsAreExactAndCaseSensitive)
{
    CPellgroveCommandLineInfo share, setting, capital, other;
    ASSERT_TRUE(Parse("share disk1", share));
    EXPECT_EQ(share.m_nMode, 0);
    EXPECT_STREQ(share.m_szTarget, "disk1");
    ASSERT_TRUE(Parse("setting disk1", setting));
    EXPECT_EQ(setting.m_nMode, 1);
    EXPECT_FALSE(Parse("Share disk1", capital));
    EXPECT_FALSE(Parse("open disk1", other));
}

TEST(FinderCommandLine, FlagWordsAreSkippedButATargetIsRequired)
{
    CPellgroveCommandLineInfo flagFirst, flagLast;
    EXPECT_TRUE(Parse("-x disk1", flagFirst));
    EXPECT_EQ(flagFirst.m_nMode, 0);
    EXPECT_STREQ(flagFirst.m_szTarget, "disk1");
    EXPECT_FALSE(Parse("share /disk1", flagLast));
}

TEST(FinderCommandLine, OverlongWordsAreRejectedNotCut)
{
    CPellgroveCommandLineInfo longMode, longName, fits;
    EXPECT_FALSE(Parse((std::string(20, 's') + " disk1").c_str(), longMode));
    EXPECT_FALSE(Parse(("share " + std::string(256, 'n')).c_str(), longName));
    EXPECT_STREQ(longName.m_szTarget, "");
    ASSERT_TRUE(Parse(("share " + std::string(255, 'n')).c_str(), fits));
    EXPECT_EQ(std::string(fits.m_szTarget), std::string(255, 'n'));
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
