// The main dialog's operation side: logon, modes and clock queries, setup, clock setting, the timer.
#include "netsetter/AdapterInfo.h"
#include "netsetter/QuentariDlg.h"
#include <iphlpapi.h>
#include <cstring>
#include <vector>
#include "afx/AddressText.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/NarrowText.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/SettingChecks.h"
#include "netsetter/SettingRes.h"
#include "netsetter/SndThread.h"

namespace {

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + std::strlen(text));  // dotted addresses are ASCII
}

std::string ToAnsi(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, &bytes[0], n, nullptr, nullptr);
    return bytes.c_str();
}

}  // namespace

std::string CQuentariDlg::PasswordBytes() const
{
    return m_loginDlg.m_strPasswordAnsi;
}

LRESULT CQuentariDlg::OnSettingClick(WPARAM wParam, LPARAM)
{
    int row = int(wParam);
    const std::vector<DeviceTableEntry>& table = m_devices.Table();
    if (row < 0 || size_t(row) >= table.size())
        return 0;
    m_nClickedRow = row;
    m_selected = table[size_t(row)];
    m_nOpFlags = m_nFlagsCopy = kFlagSetAddress | kFlagReadModes;
    m_bTimeReceived = m_bModesReceived = m_bModesAnswer = false;
    std::memcpy(m_abSelectedMac, m_selected.mac, 6);
    std::wstring domainName;
    if (DomainModeName(m_selected, domainName)) {
        // A storage device in domain mode takes its settings from its web page only.
        std::wstring text = domainName + afx::LoadStr(IDS_DOMAIN_MODE) + L"\n" + afx::LoadStr(IDS_DOMAIN_MODE_WEB);
        ::MessageBoxW(m_hWnd, text.c_str(), afx::LoadStr(IDS_CAUTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    m_nLogonLimit = 10;
    SelectRow(row);
    m_list.SetButtonMarks(0, 0);
    SetStatusText(IDS_BLANK);
    CheckAddressConflicts(row);
    if (FindPcAddress(row))
        return 0;
    m_loginDlg.m_nMaxPasswordLength = m_selected.kind == kKindStorage ? 20 : 15;
    m_loginDlg.m_hParent = m_hWnd;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (m_loginDlg.DoModal() != IDOK)
        return 0;
    SendLogonRequest(m_selected);
    return 0;
}

void CQuentariDlg::CheckAddressConflicts(int row)
{
    std::vector<uint8_t> buffer = ReadAdapters();
    TakeSmallestAdapterMac(FirstAdapter(buffer), g_abPcMac);
    for (unsigned text : AddressConflictWarnings(FirstAdapter(buffer), m_selected.address, m_selected.gateway,
                                                 m_selected.kind))
        Caution(text, IDS_CAUTION);
}

int CQuentariDlg::FindPcAddress(int row)
{
    HostAddressTable& hosts = TheApp().m_hostAddresses;
    hosts.Refresh();
    PcAddress pc = ChoosePcAddress(hosts, m_selected.address, m_selected.mask);
    m_strPcAddress = afx::FormatIpAddress(pc.address);
    m_strPcMask = afx::FormatIpAddress(pc.mask);
    if (m_strPcAddress == L"0.0.0.0") {
        Caution(IDS_NO_RESPONSE, IDS_CAUTION);
        return 1;
    }
    std::vector<uint8_t> buffer = ReadAdapters();
    const IP_ADAPTER_INFO* last = LastAdapter(FirstAdapter(buffer));
    if (!last)
        return 1;
    m_strPcGateway = Widen(last->GatewayList.IpAddress.String);
    return 0;
}

void CQuentariDlg::SendLogonRequest(const DeviceTableEntry& entry)
{
    if (!m_pRcvThread && !StartThreads())
        return;
    g_nPendingOperation = kPendingLogon;
    // An answer to an earlier logon must not stand for this one.
    m_bLogonAnswer = false;
    std::string base64 = ToAnsi(m_loginDlg.m_strEncodedPassword);
    SendRequest(BuildLogonRequest(NextSequence(), g_abPcMac, entry, PasswordBytes(), base64));
    m_nTick = 0;
    m_bBusy = 1;
}

int CQuentariDlg::SendQueryAdvancedData(uint16_t subKind, uint8_t flag, const DeviceTableEntry& entry)
{
    Sleep(1000);
    int previous = g_nPendingOperation;
    g_nPendingOperation = kPendingQuery;
    if (!m_pRcvThread && !StartThreads()) {
        g_nPendingOperation = previous;
        return 0;
    }
    m_nQueryLimit = 6;
    SetStatusText(IDS_QUERY_BASE);
    DeviceRequestPacket p = BuildQueryRequest(NextSequence(), g_abPcMac, entry, subKind, flag, m_abToken, PasswordBytes());
    m_bQueryDone = false;
    SendRequest(p);
    m_nTick = 0;
    m_bBusy = 1;
    return 0;
}

void CQuentariDlg::SendSetupRequest(int row, const DeviceTableEntry& entry, const std::wstring& name,
                                    const std::wstring& workgroup)
{
    Sleep(2000);
    if (!m_pRcvThread && !StartThreads())
        return;
    m_nSetupLimit = 30;
    g_nPendingOperation = kPendingSetup;
    SetDlgItemText(IDC_DEVICE_COUNT, L"0");
    ::EnableWindow(GetDlgItem(IDC_REFRESH), FALSE);
    SetStatusText(IDS_SETTING_BASE);
    m_bSetupAnswer = false;
    SendRequest(BuildSetupRequest(NextSequence(), g_abPcMac, entry, ToAnsi(name), ToAnsi(workgroup), m_abToken,
                                  PasswordBytes()));
    m_nSetupStatus = 255;
    m_bReflectWait = false;
    Sleep(5000);
    m_nTick = 0;
    m_bBusy = 1;
}

void CQuentariDlg::SendSetAdvancedData(int row, DeviceTimeRecord& time, const DeviceTableEntry& entry)
{
    if (!m_pRcvThread && !StartThreads())
        return;
    m_nSetupLimit = 30;
    g_nPendingOperation = kPendingSetClock;
    SetDlgItemText(IDC_DEVICE_COUNT, L"0");
    ::EnableWindow(GetDlgItem(IDC_REFRESH), FALSE);
    SetStatusText(IDS_SETTING_BASE);
    SendRequest(BuildSetClockRequest(NextSequence(), g_abPcMac, time, entry, m_abToken, PasswordBytes()));
    m_nTick = 0;
    m_bBusy = 1;
}

void CQuentariDlg::SendLogoffRequest()
{
    if (!m_pRcvThread && !StartThreads())
        return;
    g_nPendingOperation = kPendingLogoff;
    SendRequest(BuildLogoffRequest(NextSequence(), g_abPcMac, m_selected));
    // However late the sender gets to run, all three copies go out before it stops.
    if (m_pSndThread)
        m_pSndThread->WaitSent(CSndThread::kStopMs);
    StopThreads();
}

bool CQuentariDlg::LogonAnswered(bool stopThreads, bool recopy)
{
    if (!m_bLogonAnswer) {
        if (m_nTick == 0) {
            SetStatusText(IDS_NO_RESPONSE);
            StopThreads();
            Caution(IDS_NO_RESPONSE, IDS_CAUTION);
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        }
        return false;
    }
    m_bBusy = 0;
    if (stopThreads)
        StopThreads();
    UINT text = 0;
    switch (m_nLogonResult) {
    case 0:
        break;
    case 1: text = IDS_PASSWORD_INVALID; break;
    case 2: text = IDS_SESSION_TIMEOUT; break;
    case 3: text = IDS_OTHER_USER; break;
    default: return false;
    }
    if (text) {
        SetStatusText(text);
        Caution(text, IDS_AUTH_ERROR);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        if (m_nLogonResult == 1)
            PostMessage(WM_QT_SETTING_CLICK, WPARAM(m_nClickedRow));
        return false;
    }
    SetStatusText(IDS_BLANK_SETTING);
    const std::vector<DeviceTableEntry>& table = m_devices.Table();
    if (recopy && m_nClickedRow >= 0 && size_t(m_nClickedRow) < table.size())
        m_selected = table[size_t(m_nClickedRow)];
    return true;
}

LRESULT CQuentariDlg::OnLoginContinue(WPARAM, LPARAM)
{
    if (LogonAnswered(true) && (m_nOpFlags & kFlagReadModes))
        SendQueryAdvancedData(kSubKindModes, 1, m_selected);
    return 0;
}

LRESULT CQuentariDlg::OnModesDone(WPARAM, LPARAM)
{
    if (!LogonAnswered(false))
        return 0;
    if (m_nOpFlags & kFlagSetClock)
        SendQueryAdvancedData(kSubKindTime, 1, m_selected);
    else
        SendMessage(WM_QT_LOGIN_RESULT);
    return 0;
}

LRESULT CQuentariDlg::OnClockSet(WPARAM, LPARAM)
{
    // The working copy holds the user's new settings for the setup that follows.
    if (!LogonAnswered(false, false))
        return 0;
    Sleep(1000);
    if (m_nSettingFlags & kFlagSetClock) {
        m_nSettingFlags &= uint16_t(~kFlagSetClock);
        SendSetAdvancedData(m_nClickedRow, m_time, m_selected);
    } else {
        SendSetupRequest(m_nClickedRow, m_selected, m_strDeviceName, m_strWorkgroup);
    }
    return 0;
}

LRESULT CQuentariDlg::OnClockTimeout(WPARAM, LPARAM)
{
    if (!LogonAnswered(true, false))
        return 0;
    Sleep(1000);
    SendSetupRequest(m_nClickedRow, m_selected, m_strDeviceName, m_strWorkgroup);
    return 0;
}

LRESULT CQuentariDlg::OnLoginResult(WPARAM, LPARAM)
{
    if (!LogonAnswered(true))
        return 0;
    bool timeAvailable = (m_nFlagsCopy & kFlagSetClock) ? m_bTimeReceived : false;
    m_nFlagsCopy &= uint16_t(~kFlagReadModes);
    bool storage = m_selected.kind == kKindStorage;
    UINT templateId;
    if (timeAvailable) {
        m_nSettingFlags = m_nFlagsCopy;
        templateId = storage ? IDD_SETTING_STORAGE_CLOCK : IDD_SETTING_AP_CLOCK;
    } else {
        m_nSettingFlags = m_nFlagsCopy & uint16_t(~kFlagSetClock);
        templateId = storage ? IDD_SETTING_STORAGE : IDD_SETTING_AP;
    }
    const DeviceTableEntry entry = m_selected;
    m_selected.changeFlags = m_nSettingFlags;
    CDeviceSettingDlg dlg(templateId, this);
    dlg.m_hParent = m_hWnd;
    dlg.m_strOwnerPcAddress = m_strPcAddress;
    dlg.SetDevice(entry, &m_selected);
    dlg.SetPcAddresses(m_strPcAddress, m_strPcMask, m_strPcGateway);
    if (m_nSettingFlags & kFlagSetClock)
        dlg.ShowDeviceTime(&m_time);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (dlg.DoModal() != IDOK)
        return 0;
    m_nOpFlags = m_nSettingFlags = m_selected.changeFlags;
    m_strDeviceName = dlg.m_strDeviceName;
    m_strWorkgroup = dlg.m_strWorkgroup;
    Sleep(1000);
    if (m_nOpFlags != kFlagSetAddress && (m_nOpFlags & kFlagSetClock))
        SendSetAdvancedData(m_nClickedRow, m_time, m_selected);
    else
        SendSetupRequest(m_nClickedRow, m_selected, m_strDeviceName, m_strWorkgroup);
    return 0;
}

LRESULT CQuentariDlg::OnAdvancedDataReply(WPARAM, LPARAM lParam)
{
    if (!lParam)
        return 0;
    const auto& answer = *reinterpret_cast<const DeviceRequestPacket*>(lParam);
    uint16_t subKind = AdvancedSubKind(answer);
    bool selected = std::memcmp(answer.deviceMac, m_abSelectedMac, 6) == 0;
    if (g_nPendingOperation == kPendingSetClock) {
        // The copies of the request bring the same answer again: go on once only.
        if (selected && subKind == kSubKindTime && answer.status == 0 && (m_nSettingFlags & kFlagSetClock)) {
            m_nSettingFlags &= uint16_t(~kFlagSetClock);
            PostMessage(WM_QT_CLOCK_SET);
        }
        return 0;
    }
    if (g_nPendingOperation != kPendingQuery)
        return 0;
    static const uint8_t none[6] = {};
    if (std::memcmp(m_abSelectedMac, none, 6) != 0 && !selected)
        return 0;
    if (subKind == kSubKindTime && !m_bQueryDone) {
        ReadTimeAnswer(answer, m_time);
        m_bTimeReceived = m_bQueryDone = true;
    } else if (subKind == kSubKindModes && !m_bModesAnswer) {
        m_nFlagsCopy = m_nOpFlags;
        if (ReadModesAnswer(answer, m_modes))
            m_nOpFlags |= kFlagSetClock;
        m_nFlagsCopy = m_nOpFlags;
        m_bModesReceived = m_bModesAnswer = true;
    }
    return 0;
}

LRESULT CQuentariDlg::OnSetupResult(WPARAM, LPARAM)
{
    StopThreads();
    // Whatever happens next, the user can search again unless a reflect wait begins.
    ::EnableWindow(GetDlgItem(IDC_REFRESH), TRUE);
    if (!m_bSetupAnswer) {
        if (m_nTick == 0) {
            SetStatusText(IDS_NO_RESPONSE);
            Caution(IDS_NO_RESPONSE, IDS_CAUTION);
        }
        FillDeviceList();
        return 0;
    }
    switch (m_nSetupStatus) {
    case 0: {
        bool storage = m_selected.kind == kKindStorage;
        ::EnableWindow(GetDlgItem(IDC_REFRESH), FALSE);
        Caution(storage ? IDS_REFLECT_60 : IDS_REFLECT_30, IDS_TITLE, MB_ICONINFORMATION);
        m_nSearchLimit = storage ? 120 : 60;
        m_nSetupLimit = 20;
        m_bReflectWait = true;
        m_nTick = 0;
        m_bBusy = 1;
        break;
    }
    case 1: case 2: case 3: {
        UINT text = m_nSetupStatus == 1 ? IDS_PASSWORD_INVALID : m_nSetupStatus == 2 ? IDS_SESSION_TIMEOUT : IDS_OTHER_USER;
        m_bBusy = 0;
        SetStatusText(text);
        Caution(text, IDS_AUTH_ERROR);
        FillDeviceList();
        break;
    }
    default:
        FillDeviceList();
        break;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return 0;
}

void CQuentariDlg::OnTimer(UINT_PTR id)
{
    if (id != 1)
        return;
    if (!m_bBusy) {
        m_nTick = 0;
        return;
    }
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    TimerStep();
}

void CQuentariDlg::TimerStep()
{
    int n = m_nTick;
    auto finish = [this](UINT msg) {
        m_bBusy = 0;
        m_nTick = 0;
        PostMessage(msg);
    };
    switch (int(g_nPendingOperation)) {
    case kPendingSetup:
        if (n < m_nSetupLimit) {
            if (m_bSetupAnswer && !m_bReflectWait && m_nSetupStatus != kStatusNotReady) {
                finish(WM_QT_SETUP_RESULT);
                return;
            }
            SetStatusText(IDS_SETTING_BASE + n % 10);
            m_nTick = n + 1;
        } else if (m_nSetupLimit != 30) {
            m_bReflectWait = false;
            finish(WM_QT_START_SEARCH);
        } else {
            m_bBusy = 0;
            m_nTick = 0;
            if (!m_bReflectWait)
                PostMessage(WM_QT_SETUP_RESULT);
        }
        return;
    case kPendingLogon:
        if (n < m_nLogonLimit) {
            SetStatusText(IDS_LOGON_BASE + n % 10);
            m_nTick = n + 1;
        } else {
            finish(m_nOpFlags == kFlagSetAddress || !(m_nOpFlags & kFlagReadModes) ? WM_QT_LOGIN_RESULT
                                                                                   : WM_QT_LOGIN_CONTINUE);
        }
        return;
    case kPendingQuery: {
        auto dropAndGo = [this, &finish]() {
            if (m_nOpFlags & kFlagReadModes)
                m_nOpFlags &= uint16_t(~kFlagReadModes);
            else
                m_nOpFlags &= uint16_t(~kFlagSetClock);
            finish(m_nOpFlags == kFlagSetAddress ? WM_QT_LOGIN_RESULT : WM_QT_MODES_DONE);
        };
        if (m_bQueryDone) {
            m_bQueryDone = false;
            dropAndGo();
        } else if (n < m_nQueryLimit) {
            SetStatusText(IDS_QUERY_BASE + n % 10);
            m_nTick = n + 1;
        } else if (m_nOpFlags == kFlagSetAddress) {
            finish(WM_QT_LOGIN_RESULT);
        } else {
            dropAndGo();
        }
        return;
    }
    case kPendingSetClock:
        if (n < m_nSetupLimit) {
            SetStatusText(IDS_SETTING_BASE + n % 10);
            m_nTick = n + 1;
        } else {
            finish(m_nSetupLimit == 30 ? WM_QT_CLOCK_TIMEOUT : WM_QT_START_SEARCH);
        }
        return;
    default:
        if (m_pSndThread && m_pSndThread->m_nLastSendResult == -1) {
            m_bBusy = 0;
            SetStatusText(IDS_NETWORK_ERROR);
            return;
        }
        if (m_bSearchRestart) {
            std::memset(m_abSelectedMac, 0, 6);
            m_bSearchRestart = false;
            m_nSearchLimit = 10;
            finish(WM_QT_START_SEARCH);
            return;
        }
        if (n < m_nSearchLimit) {
            if ((n + 1) % 10 == 0 && n + 1 > 10)
                OnRefresh();
            SetStatusText(IDS_SEARCHING + n % 10);
            m_nTick = n + 1;
        } else {
            std::memset(m_abSelectedMac, 0, 6);
            m_nSearchLimit = 10;
            m_bSearchRestart = false;
            finish(WM_QT_SEARCH_DONE);
        }
        return;
    }
}
