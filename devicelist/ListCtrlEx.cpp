// Device list view of the finder and the network setter: self-drawn cells, two image buttons a row.
#include "devicelist/ListCtrlEx.h"
#include "afx/BitmapResource.h"
#include <string>

BEGIN_MESSAGE_MAP(CListCtrlEx, afx::CListCtrl)
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnNothing)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNothing)
    ON_NOTIFY_REFLECT(HDN_ITEMCLICKW, OnNothing)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(kMsgRecalcButtonArea, OnRecalcButtonArea)
END_MESSAGE_MAP()

CListCtrlEx::CListCtrlEx(const ListCtrlExResources& res, CListCtrlExOwner* owner)
    : m_res(res), m_pOwner(owner), m_crText(GetSysColor(COLOR_WINDOWTEXT)),
      m_crBack(GetSysColor(COLOR_WINDOW)), m_crSelText(GetSysColor(COLOR_HIGHLIGHTTEXT))
{
    // Made once: a cell paint only picks one.
    m_brBack.CreateSolidBrush(m_crBack);
    m_brSelBack.CreateSolidBrush(m_crSelBack);
    m_brBar.CreateSolidBrush(0x00FF00);
}

CListCtrlEx::~CListCtrlEx()
{
    for (HICON i : {m_hStorageIcon, m_hDeviceIcon})
        if (i)
            DestroyIcon(i);
}

void CListCtrlEx::SetButtonMarks(int button1, int button2)
{
    m_nButton1Mark = button1;
    m_nButton2Mark = button2;
    if (m_hWnd)
        ::SendMessageW(m_hWnd, LVM_UPDATE, 0, 0);
}

bool CListCtrlEx::CreateInPlaceOf(afx::CWnd& dialog, UINT id, DWORD style, RECT& rect)
{
    rect = RECT{};
    if (HWND holder = dialog.GetDlgItem(id)) {
        ::GetWindowRect(holder, &rect);
        dialog.ScreenToClient(rect);
        ::DestroyWindow(holder);
    }
    return Create(style, rect, dialog.m_hWnd, id);
}

bool CListCtrlEx::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (!afx::CListCtrl::Create(style, rect, parent, id))
        return false;
    // Missing bitmaps leave the buttons out; the finder ships none. The buttons carry text, so
    // they come in the chosen language like every other picture.
    HINSTANCE inst = GetModuleHandleW(nullptr);
    UINT ids[4] = {m_res.button1, m_res.button1Hot, m_res.button2, m_res.button2Hot};
    for (int i = 0; i < 4; ++i)
        m_bmp[i].Attach(ids[i] ? afx::LoadBitmapResource(ids[i], inst) : nullptr);
    m_hHand = LoadCursorW(inst, MAKEINTRESOURCEW(m_res.handCursor));
    auto icon = [inst](UINT id) {
        return id ? static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)) : nullptr;
    };
    m_hStorageIcon = icon(m_res.storageIcon);
    m_hDeviceIcon = icon(m_res.deviceIcon);
    return true;
}

SIZE CListCtrlEx::BitmapSize(HBITMAP b) const
{
    BITMAP bm = {};
    if (!b || !GetObjectW(b, sizeof(bm), &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

bool CListCtrlEx::GetCellRect(int row, int col, int code, RECT& rect) const
{
    if (col > 0)
        return GetSubItemRect(row, col, code, rect);
    if (!GetItemRect(row, rect, code))
        return false;
    if (GetColumnCount() > 1) {
        RECT next;
        if (GetSubItemRect(row, 1, code, next))
            rect.right = next.left;
    }
    return true;
}

void CListCtrlEx::DrawButtonBitmap(HDC dc, POINT at, HBITMAP bitmap)
{
    if (!bitmap)
        return;
    afx::CMemoryDC mem(dc);
    afx::CSelectObject select(mem, bitmap);
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    BitBlt(dc, at.x, at.y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
}

void CListCtrlEx::OnPaint()
{
    Default();
    if (GetItemCount() != 0)
        return;
    RECT client = GetClientRect();
    RECT head = {};
    HWND header = GetHeaderCtrl();
    if (header)
        Header_GetItemRect(header, 0, &head);
    client.top = head.bottom + 10;
    if (client.top >= client.bottom)
        return;
    afx::CClientDC dc(m_hWnd);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
}

void CListCtrlEx::OnCustomDraw(NMHDR* nm, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT:
        *result = CDRF_NOTIFYSUBITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        DrawCell(cd->nmcd.hdc, int(cd->nmcd.dwItemSpec), cd->iSubItem, 0);
        *result = CDRF_SKIPDEFAULT;
        return;
    default:
        *result = CDRF_DODEFAULT;
    }
}

void CListCtrlEx::DrawCell(HDC dc, int row, int col, UINT)
{
    RECT cell;
    if (!GetCellRect(row, col, LVIR_BOUNDS, cell))
        return;
    bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    FillRect(dc, &cell, selected ? m_brSelBack : m_brBack);
    std::wstring text = GetItemText(row, col);
    COLORREF textColour = selected ? m_crSelText : m_crText;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, textColour);
    RECT r = cell;
    InflateRect(&r, -m_res.textInsetX, -m_res.textInsetY);
    UINT prefix = m_res.ampersandPrefix ? 0 : DT_NOPREFIX;
    if (!text.empty() && text.back() == L'%' && !m_res.percentBar) {
        DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    } else if (!text.empty() && text.back() == L'%') {
        int percent = _wtoi(text.c_str());
        percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
        RECT bar = r;
        bar.right = bar.left + (r.right - r.left) * percent / 100;
        FillRect(dc, &bar, m_brBar);
        DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        r.top += 4;
        if (col == 0)
            r.left += 17;
        DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | prefix);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);

    int last = LastColumn();
    if (col != last || last < 1)
        return;
    if (row < m_nRowCount) {
        HICON icon = (m_pOwner && m_pOwner->IsStorageDevice(row)) ? m_hStorageIcon : m_hDeviceIcon;
        RECT first;
        if (icon && GetCellRect(row, 0, LVIR_BOUNDS, first))
            DrawIconEx(dc, first.left + 5, first.top + 4, icon, 16, 16, 0, nullptr, DI_NORMAL);
        bool mine = row == m_nSelectedRow;
        POINT at = {cell.left + 1, cell.top};
        DrawButtonBitmap(dc, at, m_bmp[(m_nButton1Mark && mine) ? 1 : 0]);
        at.x += BitmapSize(m_bmp[0]).cx;
        DrawButtonBitmap(dc, at, m_bmp[(m_nButton2Mark && mine) ? 3 : 2]);
    }
    if ((row == 0 || row == GetItemCount() - 1) && cell.left + 1 != m_rcButtons.left) {
        LONG shift = cell.left + 1 - m_rcButtons.left;
        m_rcButtons.left += shift;
        m_rcButtons.right += shift;
    }
}

LRESULT CListCtrlEx::OnRecalcButtonArea(WPARAM, LPARAM)
{
    int last = LastColumn();
    int rows = GetItemCount();
    RECT first = {}, final = {};
    if (last >= 1 && rows > 0 && GetCellRect(0, last, LVIR_BOUNDS, first) &&
        GetCellRect(rows - 1, last, LVIR_BOUNDS, final)) {
        m_rcButtons = {first.left + 1, first.top, final.right - m_nMargin, final.bottom};
    } else {
        m_rcButtons = RECT{};
    }
    return 1;
}

int CListCtrlEx::HitButton(POINT p, int& button) const
{
    button = 0;
    int last = LastColumn();
    if (last < 1)
        return -1;
    int w1 = BitmapSize(m_bmp[0]).cx, w2 = BitmapSize(m_bmp[2]).cx;
    for (int row = 0, n = GetItemCount(); row < n; ++row) {
        RECT cell;
        if (!GetCellRect(row, last, LVIR_BOUNDS, cell) || !PtInRect(&cell, p))
            continue;
        if (p.x <= cell.left + w1 - 1)
            button = 1;
        else if (p.x >= cell.left + w1 && p.x <= cell.left + w1 - 1 + w2)
            button = 2;
        return row;
    }
    return -1;
}

bool CListCtrlEx::BusyCursor() const
{
    if (!m_pOwner || !m_pOwner->IsListBusy())
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

void CListCtrlEx::OnLButtonDown(UINT, POINT p)
{
    if (BusyCursor())
        return;
    int button;
    int row = HitButton(p, button);
    if (row >= 0 && button) {
        m_nSelectedRow = row;
        ::SendMessageW(GetParent(), button == 1 ? kMsgButton1Down : kMsgButton2Down, WPARAM(row), 0);
    }
    Default();
}

void CListCtrlEx::OnLButtonUp(UINT, POINT p)
{
    if (!BusyCursor()) {
        int button;
        int row = HitButton(p, button);
        if (row >= 0 && button) {
            m_nSelectedRow = row;
            ::SendMessageW(GetParent(), button == 1 ? kMsgButton1Up : kMsgButton2Up, WPARAM(row), 0);
        }
    }
    ::SendMessageW(GetParent(), kMsgClearMarks, WPARAM(m_nSelectedRow), 0);
    Default();
}

void CListCtrlEx::OnMouseMove(UINT, POINT p)
{
    RECT hot = m_rcButtons;
    int rows = GetItemCount();
    int last = LastColumn();
    RECT lastCell;
    if (rows > 8 && last >= 1 && GetCellRect(rows - 1, last, LVIR_BOUNDS, lastCell) &&
        lastCell.bottom < hot.bottom)
        hot.bottom = lastCell.bottom;
    SetCursor(PtInRect(&hot, p) && m_hHand ? m_hHand : LoadCursorA(nullptr, IDC_ARROW));
    BusyCursor();
    Default();
}
