// Dialog templates, modal and modeless runs and the modal loop of the class layer; the bound of
// the tests' dialog driver.
#include "tests/afx/TestDialog.h"
#include "afx/ResourceLanguage.h"
#include "afx/WorkerThread.h"
#include "tests/support/MessageBoxes.h"
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(Dialog, ModalEndsWithTheButtonsResult)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

namespace {
// Ends itself with 55 on a private message, to show it was still open when that arrived.
struct CloserDialog : TestDialog {
    bool stillOpen = false;
    bool ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override
    {
        if (msg == WM_APP + 9) {
            stillOpen = true;
            EndDialog(55);
            return true;
        }
        return TestDialog::ProcessWindowMessage(msg, wp, lp, r);
    }
};
}  // namespace

TEST(Dialog, OkWithAnInvalidValueKeepsTheDialogOpen)
{
    CloserDialog dlg;
    dlg.onInit = [](TestDialog& d) {
        d.SetDlgItemText(IDC_NUMBER, L"not a number");
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        d.PostMessage(WM_APP + 9, 0, 0);
    };
    EXPECT_EQ(dlg.DoModal(), 55);
    EXPECT_TRUE(dlg.stillOpen);
    EXPECT_EQ(dlg.m_number, 7);
}

TEST(Dialog, ModelessDialogLivesUntilDestroyedAndCanBeCreatedAgain)
{
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.IsWindow());
    EXPECT_FALSE(dlg.Create()) << "one window per object";
    EXPECT_EQ(dlg.m_edit.GetWindowText(), L"first");
    dlg.EndDialog(IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr) << "control binding ends with its window";
    ASSERT_TRUE(dlg.Create());
    EXPECT_NE(dlg.m_edit.m_hWnd, nullptr);
    dlg.DestroyWindow();
}

TEST(Dialog, MissingTemplateFailsBothWays)
{
    afx::CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create());
}

namespace {
// A modeless box that owns itself, as a searching box does: it goes with its window.
struct SelfOwnedDialog : TestDialog {
    explicit SelfOwnedDialog(bool& gone) : gone(gone) {}
    ~SelfOwnedDialog() override { gone = true; }
    void PostNcDestroy() override { delete this; }
    bool& gone;
};
}  // namespace

TEST(Dialog, ASelfOwnedModelessDialogIsDeletedWithItsWindow)
{
    bool gone = false;
    auto* dlg = new SelfOwnedDialog(gone);
    ASSERT_TRUE(dlg->Create());
    HWND h = dlg->m_hWnd;
    ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(gone);
    EXPECT_FALSE(::IsWindow(h));
}

namespace {
// Run by RunModalLoop: WM_APP + 3 ends the loop with wParam; PreTranslateMessage keeps WM_APP + 2.
struct LoopDialog : TestDialog {
    bool mapped = false;
    bool PreTranslateMessage(MSG& m) override { return m.message == WM_APP + 2; }
    bool ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override
    {
        mapped = mapped || msg == WM_APP + 2;
        if (msg == WM_APP + 3)
            EndModalLoop(INT_PTR(wp));
        return TestDialog::ProcessWindowMessage(msg, wp, lp, r);
    }
};
}  // namespace

TEST(ModalLoop, EndModalLoopEndsItWithTheCodeAndTheWindowStays)
{
    LoopDialog dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.PostMessage(WM_APP + 2);
    dlg.PostMessage(WM_APP + 3, 17);
    EXPECT_EQ(dlg.RunModalLoop(), 17);
    EXPECT_FALSE(dlg.mapped) << "PreTranslateMessage took it";
    EXPECT_TRUE(dlg.IsWindow());
    dlg.DestroyWindow();

    // Ended from a message another thread sends: nothing is posted, yet the loop must wake.
    ASSERT_TRUE(dlg.Create());
    HWND h = dlg.m_hWnd;
    afx::CWorkerThread sender;
    sender.Start([h] { ::Sleep(100); return unsigned(::SendMessageW(h, WM_APP + 3, 23, 0)); });
    ::SetFocus(dlg.GetDlgItem(IDC_GO));  // no caret: its blinking would wake the loop
    dlg.SetTimer(1, 5000);              // ends a loop that did not wake, late
    DWORD start = ::GetTickCount();
    EXPECT_EQ(dlg.RunModalLoop(), 23);
    EXPECT_LT(::GetTickCount() - start, 2000u);
    dlg.DestroyWindow();
}

TEST(ModalLoop, EndsWhenTheWindowGoesOrTheThreadQuits)
{
    LoopDialog dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dlg.RunModalLoop(), IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    ASSERT_TRUE(dlg.Create());
    ::PostQuitMessage(3);
    EXPECT_EQ(dlg.RunModalLoop(), -1);
    MSG quit;
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "left for the outer loop";
    EXPECT_EQ(quit.wParam, 3u);
    dlg.DestroyWindow();
}

// A dialog driven from a test that misses its bound fails that test within the bound, naming the
// step its driver had reached, and is closed: one that never shows (a question from its start
// keeps it hidden), and a driver waiting for what never comes.
TEST(DrivenDialog, AMissFailsWithinTheBoundNamingTheStepAndEndsTheDialog)
{
    const struct {
        const char* step;
        bool askAtStart;
        std::function<void(HWND)> drive;
    } rows[] = {
        {"waiting for the dialog to show", true, [](HWND) {}},
        {"waiting for a box that never comes", false, [](HWND) {
             DriveStep(L"waiting for a box that never comes");
             while (!DriveExpired()) ::Sleep(20);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);  // not the step: a trace is part of the failure whose text is checked
        TestDialog dlg;
        if (row.askAtStart)
            dlg.onInit = [](TestDialog& d) { ::MessageBoxW(d.m_hWnd, L"nobody answers", L"start", MB_YESNO); };
        INT_PTR result = 0;
        DWORD start = ::GetTickCount();
        EXPECT_NONFATAL_FAILURE(result = RunDriven(dlg, row.drive, IDCANCEL, 1500), row.step);
        DWORD took = ::GetTickCount() - start;
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_GE(took, 1500u);
        EXPECT_LT(took, 15000u) << "closed as soon as the bound had passed";
    }
}
