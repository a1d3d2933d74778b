// Device list view of the finder and the network setter: self-drawn cells, two image buttons a row.
#pragma once
#include "afx/Gdi.h"
#include "afx/ListCtrl.h"
#include "afx/MessageMap.h"

// What the list asks of the dialog that owns it.
class CListCtrlExOwner {
public:
    virtual ~CListCtrlExOwner() = default;
    // While an operation runs the list shows the wait cursor and ignores presses.
    virtual bool IsListBusy() const = 0;
    // Rows of storage devices show the storage icon, others the device icon.
    virtual bool IsStorageDevice(int row) const { return false; }
};

struct ListCtrlExResources {
    UINT button1, button1Hot;  // first button of the last column
    UINT button2, button2Hot;  // second button, right of the first
    UINT handCursor;
    UINT storageIcon = 0, deviceIcon = 0;  // 16 x 16 row icons; 0: none
    bool percentBar = true;                // a "%" cell draws a bar of that share under its text
    bool ampersandPrefix = false;          // "&&" in a cell shows one ampersand
    int textInsetX = 0, textInsetY = 0;    // cell texts keep this distance from the cell's edges
};

class CListCtrlEx : public afx::CListCtrl {
public:
    enum : UINT {
        kMsgClearMarks = 0x37F,
        kMsgButton2Down = 0x382,
        kMsgButton1Down = 0x383,
        kMsgButton1Up = 0x384,
        kMsgButton2Up = 0x385,
        kMsgRecalcButtonArea = 0x38D,
    };

    CListCtrlEx(const ListCtrlExResources& res, CListCtrlExOwner* owner);
    ~CListCtrlEx() override;

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // Creates the list in the place of the dialog's placeholder control `id`, which goes; its
    // rectangle (in the dialog's client coordinates) is left in `rect`.
    bool CreateInPlaceOf(afx::CWnd& dialog, UINT id, DWORD style, RECT& rect);
    void SetRowCount(int rows) { m_nRowCount = rows; }
    const RECT& ButtonArea() const { return m_rcButtons; }
    // The row of the last button press or release; the owner sets the pressed look of its
    // buttons through the marks and clears them after every release.
    int SelectedRow() const { return m_nSelectedRow; }
    void SetButtonMarks(int button1, int button2);

    bool GetCellRect(int row, int col, int code, RECT& rect) const;
    static void DrawButtonBitmap(HDC dc, POINT at, HBITMAP bitmap);

protected:
    void OnPaint();
    void OnCustomDraw(NMHDR* nm, LRESULT* result);
    void OnNothing(NMHDR* nm, LRESULT* result) { *result = 0; }
    void OnLButtonDown(UINT flags, POINT p);
    void OnLButtonUp(UINT flags, POINT p);
    void OnMouseMove(UINT flags, POINT p);
    LRESULT OnRecalcButtonArea(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void DrawCell(HDC dc, int row, int col, UINT itemState);
    // The row whose last-column cell holds p, and which button of it: 1, 2, or 0 between them.
    int HitButton(POINT p, int& button) const;
    // True, with the wait cursor shown, while the owner is busy.
    bool BusyCursor() const;
    int LastColumn() const { return GetColumnCount() - 1; }
    SIZE BitmapSize(HBITMAP b) const;

    ListCtrlExResources m_res;
    CListCtrlExOwner* m_pOwner;
    COLORREF m_crText, m_crBack, m_crSelText;
    COLORREF m_crSelBack = 0xEDB780;
    afx::CBrush m_brBack, m_brSelBack, m_brBar;
    afx::CBitmap m_bmp[4];  // button1, button1Hot, button2, button2Hot
    HCURSOR m_hHand = nullptr;
    HICON m_hStorageIcon = nullptr, m_hDeviceIcon = nullptr;  // owned
    int m_nSelectedRow = -1;
    int m_nButton1Mark = 0, m_nButton2Mark = 0;
    RECT m_rcButtons = {};
    int m_nRowCount = 0;
    int m_nMargin = 6;
};
