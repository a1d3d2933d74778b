// The list-control wrapper: columns, rows, texts and reflected notifications; the device list
// view on it: its buttons' presses and releases.
#include "tests/afx/TestDialog.h"
#include "afx/ListCtrl.h"
#include "afx/ResourceLanguage.h"
#include "devicelist/ListCtrlEx.h"
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// A list that draws its cells itself, as the device lists do.
class DrawnList : public afx::CListCtrl {
public:
    int prePaints = 0, itemPrePaints = 0, subItemPrePaints = 0;
    void OnCustomDraw(NMHDR* hdr, LRESULT* result)
    {
        DWORD stage = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr)->nmcd.dwDrawStage;
        prePaints += stage == CDDS_PREPAINT;
        itemPrePaints += stage == CDDS_ITEMPREPAINT;
        subItemPrePaints += stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM);
        *result = stage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : stage == CDDS_ITEMPREPAINT ? CDRF_NOTIFYSUBITEMDRAW
                : stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawnList, afx::CListCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

// The device list's owner and parent: busy or not, and the messages the list sends it.
class ListParent : public TestDialog, public CListCtrlExOwner {
public:
    bool busy = false;
    std::vector<std::pair<UINT, WPARAM>> sent;
    bool IsListBusy() const override { return busy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListParent, TestDialog)
    if (msg == CListCtrlEx::kMsgClearMarks || (msg >= CListCtrlEx::kMsgButton2Down && msg <= CListCtrlEx::kMsgButton2Up))
        { sent.emplace_back(msg, wParam); return true; }
END_MESSAGE_MAP()

class ListCtrl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create());
        ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL, RECT{10, 10, 400, 200}, dlg, 6000));
        list.InsertColumn(0, L"IP address", LVCFMT_LEFT, 120);
        list.InsertColumn(1, L"Device name", LVCFMT_LEFT, 200);
    }
    void TearDown() override { dlg.DestroyWindow(); }
    ListParent dlg;
    DrawnList list;
};

}  // namespace

TEST_F(ListCtrl, RowsAndCellsRoundTrip)
{
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.InsertItem(0, L"     192.168.0.5"), 0);
    std::wstring longName(700, L'n');
    EXPECT_TRUE(list.SetItemText(0, 1, longName));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), L"     192.168.0.5");
    EXPECT_EQ(list.GetItemText(0, 1), longName) << "longer than the first buffer";
    EXPECT_EQ(list.GetItemText(5, 0), L"");
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    RECT cell;
    ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell.right - cell.left, 200);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListCtrl, CustomDrawReachesTheListsOwnMap)
{
    list.InsertItem(0, L"a");
    list.SetItemText(0, 1, L"b");
    list.InsertItem(1, L"c");
    // Painting into a DC of our own runs the same drawing stages without showing the window.
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 400, 200);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    list.SendMessage(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    EXPECT_GT(list.prePaints, 0);
    EXPECT_GE(list.itemPrePaints, 2);
    EXPECT_GE(list.subItemPrePaints, 4);
    EXPECT_EQ(list.subItemPrePaints % 2, 0) << "one per cell";
}

TEST_F(ListCtrl, DeviceListButtonsPressAndReleaseInOrderAndNotWhileBusy)
{
    // The buttons come in the chosen language: 40 pixels wide in Japanese, 20 in English.
    afx::SetResourceLanguage(1041);
    CListCtrlEx devices({IDB_LIST_BUTTON, IDB_LIST_BUTTON, IDB_LIST_BUTTON, IDB_LIST_BUTTON, 0}, &dlg);
    ASSERT_TRUE(devices.Create(WS_VISIBLE | LVS_REPORT, RECT{10, 10, 400, 200}, dlg, 6001));
    afx::SetResourceLanguage(1033);
    devices.InsertColumn(0, L"address", LVCFMT_LEFT, 100);
    devices.InsertColumn(1, L"setting", LVCFMT_LEFT, 160);
    devices.InsertItem(0, L"a");
    devices.InsertItem(1, L"b");
    using Sent = std::vector<std::pair<UINT, WPARAM>>;
    auto click = [&](int row, int x) {
        RECT cell = {};
        devices.GetCellRect(row, 1, LVIR_BOUNDS, cell);
        LPARAM at = MAKELPARAM(cell.left + x, cell.top + 2);
        dlg.sent.clear();
        devices.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        devices.SendMessage(WM_LBUTTONUP, 0, at);
        return dlg.sent;
    };
    EXPECT_EQ(click(0, 30), (Sent{{0x383, 0}, {0x384, 0}, {0x37F, 0}})) << "setting button";
    EXPECT_EQ(click(1, 60), (Sent{{0x382, 1}, {0x385, 1}, {0x37F, 1}})) << "web button";
    EXPECT_EQ(click(0, 100), (Sent{{0x37F, 1}})) << "right of the buttons";
    // Busy, whatever the owner runs: the wait cursor, and a press selects nothing.
    dlg.busy = true;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(click(0, 30), (Sent{{0x37F, 1}}));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(devices.SelectedRow(), 1);
}
