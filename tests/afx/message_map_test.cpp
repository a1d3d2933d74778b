// Message-map dispatch: commands, notifications, private messages and base-class fallback.
#include "tests/afx/TestDialog.h"
#include "afx/Button.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class MapDialog : public TestDialog {
public:
    int clicks = 0;
    int checkClicks = 0;
    int notifies = 0;
    UINT timerSeen = 0;
    void OnGo() { ++clicks; }
    void OnCheck() { ++checkClicks; }
    LRESULT OnPing(WPARAM wp, LPARAM lp) { return LRESULT(wp + lp); }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    void OnListClick(NMHDR*, LRESULT* result) { ++notifies; *result = 5; }
    LRESULT OnNcHitTest(POINT) { return HTCAPTION; }
    HBRUSH OnCtlColor(HDC, HWND, UINT) { return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapDialog, TestDialog)
    ON_BN_CLICKED(IDC_GO, OnGo)
    ON_COMMAND(IDC_CHECK, OnCheck)
    ON_MESSAGE(WM_APP + 1, OnPing)
    ON_MESSAGE(WM_APP + 2, OnThrow)
    ON_NOTIFY(NM_CLICK, IDC_LIST, OnListClick)
    ON_WM_NCHITTEST()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class MessageMap : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create()); }
    void TearDown() override { dlg.DestroyWindow(); }
    MapDialog dlg;
};

}  // namespace

TEST_F(MessageMap, CommandsReachTheirHandlersByIdAndCode)
{
    afx::CButton go;
    go.Attach(dlg.GetDlgItem(IDC_GO));
    go.Click();
    go.Detach();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_SETFOCUS), 0);
    EXPECT_EQ(dlg.clicks, 1) << "another notification code is not a click";
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHECK, 0), 0);
    EXPECT_EQ(dlg.checkClicks, 1);
}

TEST_F(MessageMap, ResultsReachTheSenderThroughTheDialogManager)
{
    EXPECT_EQ(dlg.SendMessage(WM_APP + 1, 40, 2), 42);
    EXPECT_EQ(dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(10, 10)), HTCAPTION);
    HDC dc = ::GetDC(dlg);
    EXPECT_EQ(dlg.SendMessage(WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(dlg.GetDlgItem(IDC_LABEL))),
              LRESULT(::GetStockObject(BLACK_BRUSH)));
    ::ReleaseDC(dlg, dc);

    NMHDR hdr = {dlg.GetDlgItem(IDC_LIST), IDC_LIST, UINT(NM_CLICK)};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IDC_LIST, LPARAM(&hdr)), 5);
    hdr.code = UINT(NM_DBLCLK);
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IDC_LIST, LPARAM(&hdr)), 0);
    EXPECT_EQ(dlg.notifies, 1);
}

TEST_F(MessageMap, AThrowingHandlerDoesNotEndTheProgram)
{
    EXPECT_EQ(dlg.SendMessage(WM_APP + 2, 0, 0), 0);
    EXPECT_TRUE(dlg.IsWindow());
    EXPECT_EQ(dlg.SendMessage(WM_APP + 1, 1, 1), 2) << "the dialog still works";
}

TEST_F(MessageMap, UnmappedMessagesFallThroughToTheBaseMap)
{
    // The base's OK handling ends a modeless dialog.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}
