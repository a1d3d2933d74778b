#include "frame/UiLanguage.h"
#include <gtest/gtest.h>

TEST(UiLanguage, ChineseVariantsFoldToTheTwoShippedTables)
{
    EXPECT_EQ(FoldUILanguage(3076), 1028);
    EXPECT_EQ(FoldUILanguage(5124), 1028);
    EXPECT_EQ(FoldUILanguage(4100), 2052);
}

TEST(UiLanguage, ShippedLanguagesStayAndOthersBecomeEnglish)
{
    for (LANGID kept : {1028, 1033, 1041, 2052})
        EXPECT_EQ(FoldUILanguage(kept), kept);
    for (LANGID other : {0, 1031, 1036, 2057, 3081})
        EXPECT_EQ(FoldUILanguage(other), 1033) << other;
}

TEST(UiLanguage, SystemLanguageIsOneOfTheShippedOnes)
{
    LANGID lang = GetUILanguage();
    EXPECT_TRUE(lang == 1028 || lang == 1033 || lang == 1041 || lang == 2052) << lang;
}
