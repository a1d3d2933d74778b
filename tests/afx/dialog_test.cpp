#include "tests/afx/TestDialog.h"
#include "afx/ResourceLanguage.h"
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
