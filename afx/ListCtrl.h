// List view control, report view first; custom drawing goes through ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, ...).
#pragma once
#include "afx/Wnd.h"
#include <commctrl.h>
#include <string>

namespace afx {

class CListCtrl : public CWnd {
public:
    // Creates the list as a child of `parent` and binds it to this object.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    int InsertColumn(int col, const std::wstring& heading, int format = LVCFMT_LEFT, int width = -1);
    int InsertItem(int item, const std::wstring& text, int image = -1);
    bool SetItemText(int item, int subItem, const std::wstring& text);
    std::wstring GetItemText(int item, int subItem) const;
    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    bool DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, WPARAM(item)) != 0; }
    int GetColumnWidth(int col) const { return int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(col))); }
    bool SetColumnWidth(int col, int width) { return SendMessage(LVM_SETCOLUMNWIDTH, WPARAM(col), MAKELPARAM(width, 0)) != 0; }
    int GetColumnCount() const;
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    DWORD SetExtendedStyle(DWORD ex) { return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(ex))); }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) { return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, WPARAM(which), LPARAM(list))); }
    UINT GetItemState(int item, UINT mask) const { return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask))); }
    bool SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags) const { return int(SendMessage(LVM_GETNEXTITEM, WPARAM(start), MAKELPARAM(flags, 0))); }
    int GetSelectionMark() const { return int(SendMessage(LVM_GETSELECTIONMARK)); }
    bool GetItemRect(int item, RECT& rect, int code) const;
    bool GetSubItemRect(int item, int subItem, int code, RECT& rect) const;
    int HitTest(LVHITTESTINFO& info) const { return int(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info))); }
    bool EnsureVisible(int item) { return SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), FALSE) != 0; }
};

}  // namespace afx
