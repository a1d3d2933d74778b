// The user-interface language rule.
#include "frame/UiLanguage.h"
#include <gtest/gtest.h>

// Hong Kong, Singapore and German are also seen from outside in the wizard's locale runs.
TEST(UiLanguage, ChineseVariantsFoldToTheTwoShippedTablesAndOthersBecomeEnglish)
{
    const LANGID cases[][2] = {{3076, 1028}, {5124, 1028}, {4100, 2052}, {1028, 1028}, {1033, 1033},
                               {1041, 1041}, {2052, 2052}, {0, 1033}, {1036, 1033}, {2057, 1033}};
    for (const auto& c : cases)
        EXPECT_EQ(FoldUILanguage(c[0]), c[1]) << c[0];
}
