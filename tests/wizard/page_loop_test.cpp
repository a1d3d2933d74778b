// The quick setup's page loop with stand-in pages: which page follows which result, the page
// rectangle carried back to the menu, and the settings file written only after a completion;
// the texts of the menu and the end page whole in the four languages.
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_End.h"
#include "wizard/PellgroveDialog_Main.h"
#include "wizard/PellgroveDialog_Quick.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// Scripted results that are the real settings page's, left with Esc or the system close.
constexpr INT_PTR kEscape = -1, kSystemClose = -2;

INT_PTR Give(INT_PTR scripted)
{
    if (scripted >= 0)
        return scripted;
    g_productConfig = ProductConfig{};
    QuickSetupContext context;
    CPellgroveDialog_Quick page(nullptr, nullptr);
    page.m_pContext = &context;
    return RunDriven(page, [scripted](HWND h) {
        bool esc = scripted == kEscape;
        ::PostMessageW(h, esc ? WM_KEYDOWN : WM_SYSCOMMAND, esc ? VK_ESCAPE : SC_CLOSE, 0);
        for (int i = 0; i < 100 && ::IsWindow(h); ++i) ::Sleep(20);
    }, IDC_QUICK_CANCEL);
}

struct LoopCase {
    bool usb, showGuide;
    std::vector<INT_PTR> results;  // what the pages give, in order
    std::vector<int> pages;        // the pages run
    bool done;
};

// The menu with stand-in checks and pages: each page gives the next scripted result and
// moves the page rectangle; the settings file is a scratch file.
class ScriptedMenu : public CPellgroveDialog_Main {
public:
    ScriptedMenu(std::vector<INT_PTR> results, std::wstring file)
        : CPellgroveDialog_Main(nullptr), m_results(std::move(results)), m_file(std::move(file)) {}
    int PrepareQuickSetup(QuickSetupContext& context) override
    {
        context.paths.settingsFilePath = m_file;
        context.settings.kind = 0;
        context.settings.name = L"STORE1";
        return 1;
    }
    INT_PTR RunPage(int page, QuickSetupContext*, RECT* rect) override
    {
        m_fileDuringPages |= ::GetFileAttributesW(m_file.c_str()) != INVALID_FILE_ATTRIBUTES;
        *rect = RECT{40 + 10 * int(m_pages.size()), 30, 640, 405};
        m_pages.push_back(page);
        return m_pages.size() <= m_results.size() ? m_results[m_pages.size() - 1] : kPageClosed;
    }
    std::vector<INT_PTR> m_results;
    std::wstring m_file;
    std::vector<int> m_pages;
    bool m_fileDuringPages = false;
};

}  // namespace

TEST(PageLoop, EveryResultLeadsToItsPage)
{
    const LoopCase cases[] = {
        {false, false, {11, 1, 1, 2}, {0, 1, 0, 2}, true},      // settings OK, completion, end page closed
        {false, true, {1}, {0}, true},                          // no end page after the completion
        {false, false, {11, 11, 0}, {0, 1, 0}, false},          // settings Cancel back, then back to TOP
        {false, false, {2}, {0}, false},                        // Esc on the confirmation page
        {false, false, {1, 1, 2}, {0, 2, 0}, true},             // the end page's OK shows confirmation again
        {false, false, {1, 11}, {0, 2}, true},                  // the end page has no other page
        {false, false, {11, kEscape}, {0, 1}, false},           // Esc on the real settings page
        {false, false, {11, kSystemClose}, {0, 1}, false},      // its system close
        {true, false, {11}, {1}, false},                        // USB: the settings page's switch ends it
        {true, false, {1, 1, 2}, {1, 0, 2}, true},              // USB: settings, confirmation, end page
        {true, true, {1, 0}, {1, 0}, false},
    };
    for (const LoopCase& c : cases) {
        std::vector<int> pages;
        size_t next = 0;
        bool done = RunPageLoop([&](int page) {
            pages.push_back(page);
            return next < c.results.size() ? Give(c.results[next++]) : INT_PTR(kPageClosed);
        }, c.usb, c.showGuide);
        EXPECT_EQ(pages, c.pages) << c.results.size();
        EXPECT_EQ(done, c.done) << c.results.size();
        EXPECT_EQ(next, c.results.size());
    }
}

TEST(PageLoop, TheMenuComesBackWhereTheLastPageWasAndTheFileIsWrittenOnlyAfterCompletion)
{
    CPellgroveApp app;
    g_productConfig = ProductConfig{};
    TempDir scratch;
    for (bool complete : {false, true}) {
        std::wstring file = scratch / (complete ? L"done.ini" : L"back.ini");
        ScriptedMenu menu(complete ? std::vector<INT_PTR>{11, 1, 1, 2} : std::vector<INT_PTR>{11, 11, 0}, file);
        ASSERT_TRUE(menu.Create());
        menu.OnClickedQuick();
        EXPECT_FALSE(menu.m_fileDuringPages);
        if (!complete) {
            ASSERT_TRUE(menu.IsWindow());
            EXPECT_TRUE(menu.IsWindowVisible());
            RECT r = menu.GetWindowRect();
            EXPECT_EQ(std::make_pair(r.left, r.top), std::make_pair(60L, 30L));  // the third page's rectangle
            EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
        } else {
            EXPECT_FALSE(menu.IsWindow()) << "a completed setup ends the menu";
            std::string bytes = ReadBytes(file);
            EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
            EXPECT_NE(bytes.find(Utf16Bytes(L"name=STORE1\r\n", false)), std::string::npos);
        }
    }
}

// The first and the last page of a run, the menu in both modes (left with Esc, which writes
// nothing), with the product names of the sample medium.
TEST(PageLoop, TheMenuAndTheEndPageShowEveryTextWhole)
{
    CPellgroveApp app;
    const std::pair<LANGID, const wchar_t*> languages[] = {
        {1033, L"HOLLIN"}, {1041, L"HOLLIN \u30CD\u30C3\u30C8\u30EF\u30FC\u30AF\u30B9\u30C8\u30EC\u30FC\u30B8"},
        {1028, L"HOLLIN \u7DB2\u8DEF\u5132\u5B58\u88DD\u7F6E"}, {2052, L"HOLLIN \u7F51\u7EDC\u5B58\u50A8\u8BBE\u5907"}};
    auto check = [](HWND w, const std::wstring& shot) {
        const std::vector<std::string> unfit = UnfitTexts(w);
        EXPECT_TRUE(unfit.empty()) << std::string(shot.begin(), shot.end()) << "\n" << Lines(unfit);
        SaveWindowShot(w, shot);
        Press(w, IDCANCEL);
    };
    for (const auto& [lang, product] : languages) {
        afx::SetResourceLanguage(lang);
        const std::wstring tag = std::to_wstring(lang);
        for (int usb : {0, 1}) {
            g_productConfig = ProductConfig{};
            g_productConfig.UsbMode = usb;
            g_productConfig.Show_SupportSoft = g_productConfig.Show_USBStorage = 1;
            wcscpy(g_productConfig.Dorvane, product);
            CPellgroveDialog_Main menu(nullptr);
            RunDriven(menu, [&](HWND w) { check(w, (usb ? L"menu_usb_" : L"menu_") + tag); });
        }
        CPellgroveDialog_End end(nullptr, nullptr);
        RunDriven(end, [&](HWND w) { check(w, L"end_page_" + tag); });
    }
    afx::SetResourceLanguage(1033);
}
