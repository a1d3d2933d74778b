// The confirmation page from outside: where it opens, what it shows, the long comment that
// scrolls out once and comes back whole, and its texts whole in the four languages.
#include "afx/ResourceLanguage.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
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

// Every row and check the configuration can show, with the shortcut and manual checks it allows.
TEST(ConfirmPage, EveryTextWholeInTheFourLanguages)
{
    QuickSetupContext context;
    CDeviceSettings& r = context.settings;
    r.name = L"STORE12345678X";
    r.comment = L"Dorvane series";
    r.workgroup = L"WORKGROUP";
    r.dhcp = L"off";
    r.ip = L"192.168.100.200";
    r.netmask = r.gateway = r.nameserver = L"255.255.255.255";
    r.ntp = L"off";
    r.ntpserver = L"ntp.jst.mfeed.ad.jp";
    for (LANGID lang : {LANGID(1033), LANGID(1041), LANGID(1028), LANGID(2052)}) {
        afx::SetResourceLanguage(lang);
        for (const auto& [shortcut, manual] : {std::pair{1, 1}, std::pair{1, 0}, std::pair{0, 1}}) {
            g_productConfig = ProductConfig{};
            ProductConfig& c = g_productConfig;
            c.Show_Comment = c.Show_WorkGroup = c.Show_NTP = 1;
            c.Show_ShortCut = shortcut;
            c.Show_ManualCopy = manual;
            RECT rect = {};
            CPellgroveDialog_QuickConfirm page(nullptr, &rect);
            page.m_pContext = &context;
            RunDriven(page, [&](HWND w) {
                const std::vector<std::string> unfit = UnfitTexts(w);
                EXPECT_TRUE(unfit.empty()) << lang << " shortcuts " << shortcut << " manual " << manual << "\n"
                                           << Lines(unfit);
                if (shortcut && manual)
                    SaveWindowShot(w, L"confirm_page_" + std::to_wstring(lang));
                Press(w, IDC_CONFIRM_BACK_TO_TOP);
            });
        }
    }
    afx::SetResourceLanguage(1033);
}
