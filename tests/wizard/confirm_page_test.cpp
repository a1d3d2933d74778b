// The confirmation page from outside: where it opens, what it shows, and the long comment that
// scrolls out once and comes back whole.
#include "afx/ResourceLanguage.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_QuickConfirm.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

TEST(ConfirmPage, OpensAtThePageRectangleAndScrollsALongCommentOnce)
{
    afx::SetResourceLanguage(1033);
    g_productConfig = ProductConfig{};
    g_productConfig.Show_Comment = g_productConfig.Show_WorkGroup = 1;
    QuickSetupContext context;
    context.settings.comment = L"A comment of 25 letters.!";
    context.settings.dhcp = L"ON";  // not exactly "on": a fixed address
    context.settings.ip = L"192.168.1.20";
    RECT rect = {50, 40, 650, 415};
    CPellgroveDialog_QuickConfirm page(nullptr, &rect);
    page.m_pContext = &context;
    std::vector<size_t> lengths;
    INT_PTR result = RunDriven(page, [&](HWND w) {
        RECT r{};
        ::GetWindowRect(w, &r);
        EXPECT_EQ(std::make_pair(r.left, r.top), std::make_pair(50L, 40L));
        EXPECT_EQ(ItemText(w, IDC_DHCP_VALUE), L"do not use");
        EXPECT_EQ(ItemText(w, IDC_IP_VALUE), L"192.168.1.20");
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 9000; ::Sleep(60))
            lengths.push_back(ItemText(w, IDC_COMMENT).size());
        ::MoveWindow(w, 70, 60, r.right - r.left, r.bottom - r.top, TRUE);
        Press(w, IDC_CONFIRM_BACK_TO_TOP);
    });
    EXPECT_EQ(result, kPageBackToMenu);
    EXPECT_EQ(rect.left, 70) << "the page records its moves";
    ASSERT_FALSE(lengths.empty());
    EXPECT_EQ(lengths.front(), 25u);
    EXPECT_EQ(lengths.back(), 25u);
    // Down one letter at a time to nothing, then whole again for the rest of the visit.
    auto gone = std::find(lengths.begin(), lengths.end(), 0u);
    ASSERT_NE(gone, lengths.end());
    EXPECT_TRUE(std::is_sorted(lengths.begin(), gone, std::greater<size_t>()));
    auto back = std::find(gone, lengths.end(), 25u);
    ASSERT_NE(back, lengths.end());
    EXPECT_EQ(size_t(std::count(back, lengths.end(), 25u)), size_t(lengths.end() - back));
}
