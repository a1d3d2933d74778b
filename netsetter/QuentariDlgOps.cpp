// The main dialog's search side: the device list, the search request, device answers and web pages.
#include "netsetter/QuentariDlg.h"
#include <shellapi.h>
#include <cstdio>
#include <cstring>
#include "afx/AddressText.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/NarrowText.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/SettingChecks.h"
#include "netsetter/SettingRes.h"

const ListCtrlExResources kQuentariListResources = {
    IDB_LIST_SETTING, IDB_LIST_SETTING_DOWN, IDB_LIST_WEB, IDB_LIST_WEB_DOWN, IDC_HAND_CURSOR,
    IDI_STORAGE, IDI_DEVICE, /*percentBar*/ false, /*ampersandPrefix*/ true, /*textInset*/ 2, 1,
};

uint32_t CQuentariDlg::NextSequence()
{
    return ++TheApp().m_nSndSeq;
}

void CQuentariDlg::CreateDeviceList()
{
    RECT r;
    // Rows stay in the table's order (no sorting by the address text): row i is entry i.
    m_list.CreateInPlaceOf(*this, IDC_DEVICE_LIST, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL, r);
    // The columns fill the list's inside, beside its vertical scroll bar, without a horizontal one.
    RECT inside = m_list.GetClientRect();
    int w = (inside.right - inside.left) - GetSystemMetrics(SM_CXVSCROLL) - 160;
    m_list.InsertColumn(0, afx::LoadStr(IDS_COLUMN_ADDRESS), LVCFMT_LEFT, w * 138 / 400);
    m_list.InsertColumn(1, afx::LoadStr(IDS_COLUMN_MAC), LVCFMT_LEFT, w * 116 / 400);
    m_list.InsertColumn(2, afx::LoadStr(IDS_COLUMN_NAME), LVCFMT_LEFT, w * 146 / 400);
    m_list.InsertColumn(3, afx::LoadStr(IDS_COLUMN_SETTING), LVCFMT_CENTER, 160);
    m_hImages = ImageList_Create(22, 22, ILC_COLOR24, 0, 22);
    if (m_hImages) {
        ImageList_SetBkColor(m_hImages, RGB(255, 255, 255));
        ImageList_AddIcon(m_hImages, LoadIconA(nullptr, IDI_QUESTION));
        m_list.SetImageList(m_hImages, LVSIL_SMALL);
    }
    std::memset(m_abSelectedMac, 0, sizeof(m_abSelectedMac));
    m_nSearchLimit = 10;
    m_bSearchRestart = false;
    m_bModesAnswer = false;
    m_nOpFlags = m_nFlagsCopy = m_nSettingFlags = 1;
}

void CQuentariDlg::ClearDeviceBuckets()
{
    m_devices.Clear();
}

void CQuentariDlg::OnRefresh()
{
    m_bSearchRestart = false;
    if (!m_pRcvThread && !StartThreads())
        return;
    g_nPendingOperation = kPendingSearch;
    ClearDeviceBuckets();
    m_list.DeleteAllItems();
    m_list.SetRowCount(0);
    m_list.Invalidate();
    SetDlgItemText(IDC_DEVICE_COUNT, L"0");
    ::EnableWindow(GetDlgItem(IDC_REFRESH), FALSE);
    SetStatusText(IDS_SEARCHING);
    m_bModesAnswer = false;
    SendRequest(BuildSearchRequest(NextSequence(), g_abPcMac));
    m_bBusy = 1;
}

LRESULT CQuentariDlg::OnDeviceReply(WPARAM, LPARAM lParam)
{
    m_bLogonAnswer = false;
    m_bSetupAnswer = false;
    ReplyOutcome r = m_devices.OnReply(reinterpret_cast<const uint8_t*>(lParam), kPacketSize, g_nPendingOperation,
                                       m_abSelectedMac);
    if (r.restartSearch)
        m_bSearchRestart = true;
    if (r.what == ReplyOutcome::SetupAnswer) {
        m_bSetupAnswer = true;
        m_nSetupStatus = r.status;
    } else if (r.what == ReplyOutcome::LogonAnswer) {
        m_bLogonAnswer = true;
        m_nLogonResult = r.status;
        std::memcpy(m_abToken, r.token, sizeof(m_abToken));
    }
    return 0;
}

LRESULT CQuentariDlg::OnSearchDone(WPARAM, LPARAM)
{
    SetStatusText(IDS_SEARCH_DONE);
    ::EnableWindow(GetDlgItem(IDC_REFRESH), TRUE);
    StopThreads();
    FillDeviceList();
    return 0;
}

void CQuentariDlg::FillDeviceList()
{
    if (m_devices.BuildDeviceTable(m_abSelectedMac))
        m_bSearchRestart = true;
    const std::vector<DeviceTableEntry>& table = m_devices.Table();
    m_list.DeleteAllItems();
    for (size_t i = table.size(); i-- > 0;) {
        const DeviceTableEntry& e = table[i];
        m_list.InsertItem(0, L"     " + afx::FormatIpAddress(e.address));
        m_list.SetItemText(0, 1, afx::FormatMacAddress(e.mac));
        m_list.SetItemText(0, 2, DeviceListText(e));
        m_list.SetItemText(0, 3, L"");
    }
    m_list.SetRowCount(int(table.size()));
    m_list.SendMessage(WM_QT_RECALC_BUTTON_AREA);
    SetDlgItemText(IDC_DEVICE_COUNT, std::to_wstring(table.size()));
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    UpdateData(false);
}

LRESULT CQuentariDlg::OnClearCellMarks(WPARAM, LPARAM)
{
    m_list.SetButtonMarks(0, 0);
    return 0;
}

LRESULT CQuentariDlg::OnWebCellPressed(WPARAM, LPARAM)
{
    m_list.SetButtonMarks(0, 1);
    return 0;
}

LRESULT CQuentariDlg::OnSettingCellPressed(WPARAM, LPARAM)
{
    m_list.SetButtonMarks(1, 0);
    return 0;
}

void CQuentariDlg::SelectRow(int row)
{
    m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void CQuentariDlg::Caution(UINT textId, UINT captionId, UINT icon)
{
    afx::MessageBoxRes(textId, captionId, MB_OK | icon, m_hWnd);
}

LRESULT CQuentariDlg::OnOpenWebPage(WPARAM wParam, LPARAM)
{
    int row = int(wParam);
    const std::vector<DeviceTableEntry>& table = m_devices.Table();
    if (row < 0 || size_t(row) >= table.size())
        return 0;
    const DeviceTableEntry e = table[size_t(row)];
    SetStatusText(IDS_BLANK);
    HostAddressTable& hosts = TheApp().m_hostAddresses;
    hosts.Refresh();
    std::wstring pcAddress = L"255.255.255.255";
    bool sameNetwork = false;
    for (int i = 0; i < hosts.count; ++i) {
        uint32_t address = ntohl(hosts.rows[i].address), mask = ntohl(hosts.rows[i].mask);
        if ((address & mask) == (e.address & e.mask)) {
            pcAddress = afx::FormatIpAddress(address);
            sameNetwork = true;
            break;
        }
    }
    SelectRow(row);
    m_list.SetButtonMarks(0, 0);
    if (pcAddress == L"0.0.0.0") {
        Caution(IDS_NO_RESPONSE, IDS_CAUTION);
    } else if (pcAddress == afx::FormatIpAddress(e.address)) {
        Caution(kStrAddressConflict, IDS_CAUTION);
    } else if (!sameNetwork) {
        SetStatusText(IDS_NOT_SAME_NETWORK);
        Caution(IDS_NOT_SAME_NETWORK, IDS_CAUTION);
    } else {
        wchar_t url[64];
        if (e.webPort == 80)
            std::swprintf(url, 64, L"http://%ls", afx::FormatIpAddress(e.address).c_str());
        else
            std::swprintf(url, 64, L"http://%ls:%d", afx::FormatIpAddress(e.address).c_str(), int(e.webPort));
        ShellExecuteW(m_hWnd, L"open", url, nullptr, nullptr, SW_RESTORE);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return 0;
}
