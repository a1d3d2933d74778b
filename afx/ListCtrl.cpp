// List view control, report view first; custom drawing goes through ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, ...).
#include "afx/ListCtrl.h"

namespace afx {

bool CListCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (m_hWnd)
        return false;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND h = ::CreateWindowExW(0, WC_LISTVIEWW, L"", style | WS_CHILD, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(UINT_PTR(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!h)
        return false;
    if (!SubclassWindow(h)) {
        ::DestroyWindow(h);
        return false;
    }
    return true;
}

int CListCtrl::InsertColumn(int col, const std::wstring& heading, int format, int width)
{
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = format;
    c.pszText = const_cast<wchar_t*>(heading.c_str());
    c.iSubItem = col;
    if (width >= 0) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(col), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int item, const std::wstring& text, int image)
{
    LVITEMW it = {};
    it.mask = LVIF_TEXT;
    it.iItem = item;
    it.pszText = const_cast<wchar_t*>(text.c_str());
    if (image >= 0) {
        it.mask |= LVIF_IMAGE;
        it.iImage = image;
    }
    return int(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
}

bool CListCtrl::SetItemText(int item, int subItem, const std::wstring& text)
{
    LVITEMW it = {};
    it.iSubItem = subItem;
    it.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&it)) != 0;
}

std::wstring CListCtrl::GetItemText(int item, int subItem) const
{
    // The control copies at most the buffer's size and says how much it wrote; grow until it fits.
    std::wstring buf(256, L'\0');
    for (;;) {
        LVITEMW it = {};
        it.iSubItem = subItem;
        it.pszText = &buf[0];
        it.cchTextMax = int(buf.size());
        int n = int(SendMessage(LVM_GETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&it)));
        if (n < int(buf.size()) - 1 || buf.size() >= 65536) {
            buf.resize(size_t(n < 0 ? 0 : n));
            return buf;
        }
        buf.assign(buf.size() * 2, L'\0');
    }
}

int CListCtrl::GetColumnCount() const
{
    HWND header = GetHeaderCtrl();
    return header ? int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW it = {};
    it.state = state;
    it.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&it)) != 0;
}

bool CListCtrl::GetItemRect(int item, RECT& rect, int code) const
{
    rect = {};
    rect.left = code;
    return SendMessage(LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&rect)) != 0;
}

bool CListCtrl::GetSubItemRect(int item, int subItem, int code, RECT& rect) const
{
    rect = {};
    rect.top = subItem;
    rect.left = code;
    return SendMessage(LVM_GETSUBITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&rect)) != 0;
}

}  // namespace afx
