// Modal dialog in which the user sets a device's address mode, addresses, name, workgroup and clock.
#include "netsetter/AdapterInfo.h"
#include "netsetter/DeviceSettingDlg.h"
#include <iphlpapi.h>
#include <cstdio>
#include <ctime>
#include <vector>
#include "afx/AddressText.h"
#include "afx/DataExchange.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/IPAddrCtl.h"
#include "netsetter/NarrowText.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariState.h"
#include "netsetter/SettingChecks.h"
#include "netsetter/SettingRes.h"

namespace {

const UINT kPcPartIds[12] = {1050, 1047, 1048, 1049, 1057, 1051, 1052, 1053, 1058, 1054, 1055, 1056};

void ToOctets(uint32_t v, uint16_t o[4])
{
    for (int i = 0; i < 4; ++i)
        o[i] = uint16_t((v >> (24 - 8 * i)) & 0xFF);
}

uint32_t FromOctets(const uint16_t o[4])
{
    return uint32_t(o[0] & 0xFF) << 24 | uint32_t(o[1] & 0xFF) << 16 | uint32_t(o[2] & 0xFF) << 8 | (o[3] & 0xFF);
}

// The first gateway of the adapter on the network of address and mask, else empty.
std::wstring SameSubnetGateway(const IP_ADAPTER_INFO& a, const std::wstring& address, const std::wstring& mask)
{
    for (const IP_ADDR_STRING* g = &a.GatewayList; g; g = g->Next) {
        std::wstring gw = FromThreadAnsi(g->IpAddress.String);
        if (IsSameSubnet(gw, address, mask))
            return gw;
    }
    return std::wstring();
}

std::wstring Format(const wchar_t* format, const std::wstring& part)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, format, part.c_str());
    return buffer;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDeviceSettingDlg, afx::CDialog)
    ON_WM_PAINT()
    if (msg == WM_QUERYDRAGICON) { lResult = LRESULT(OnQueryDragIcon()); return true; }
    ON_CONTROL(CBN_SELCHANGE, IDC_INTERFACE_COMBO, OnSelchangeInterface)
    ON_BN_CLICKED(IDC_USE_DHCP, OnUseDhcp)
    ON_BN_CLICKED(IDC_USE_STATIC, OnUseStatic)
    ON_BN_CLICKED(IDC_CLEAR, OnClear)
    ON_MESSAGE(WM_QT_ADDRESS_MESSAGE, OnAddressError)
END_MESSAGE_MAP()

CDeviceSettingDlg::CDeviceSettingDlg(UINT templateId, CDeviceSettingOwner* owner)
    : afx::CDialog(templateId), m_pOwner(owner)
{
    m_hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUENTARI), IMAGE_ICON,
                                            0, 0, LR_DEFAULTSIZE));
}

CDeviceSettingDlg::~CDeviceSettingDlg()
{
    if (m_hIcon)
        DestroyIcon(m_hIcon);
    if (m_hPicture)
        DeleteObject(m_hPicture);
}

void CDeviceSettingDlg::SetDevice(const DeviceTableEntry& entry, DeviceTableEntry* working)
{
    m_nMode = m_nStartMode = entry.addressType == 1 ? 1 : 0;
    ToOctets(entry.address, m_address);
    ToOctets(entry.mask, m_mask);
    ToOctets(entry.gateway, m_gateway);
    ToOctets(entry.address, m_startAddress);
    ToOctets(entry.mask, m_startMask);
    ToOctets(entry.gateway, m_startGateway);
    m_pWorking = working;
}

void CDeviceSettingDlg::SetPcAddresses(const std::wstring& address, const std::wstring& mask,
                                       const std::wstring& gateway)
{
    const std::wstring* texts[3] = {&address, &mask, &gateway};
    for (int t = 0; t < 3; ++t) {
        std::wstring parts[4];
        const std::wstring& text = *texts[t];
        for (size_t i = 0, p = 0; i < text.size() && p < 4; ++i) {
            if (text[i] == L'.')
                ++p;
            else
                parts[p] += text[i];
        }
        for (int i = 0; i < 4; ++i)
            m_pcParts[t * 4 + i] = text.empty() ? std::wstring() : Format(i < 3 ? L"%ls ." : L"%ls  ", parts[i]);
    }
}

void CDeviceSettingDlg::ShowDeviceTime(DeviceTimeRecord* record)
{
    m_pTime = record;
    if (!record)
        return;
    std::time_t now = std::time(nullptr);
    DeviceClock clock;
    if (ReadDeviceClock(record->year, record->month, record->day, record->hour, record->minute, record->second, now,
                        clock)) {
        m_strDeviceTime = clock.text;
        m_nSetClock = clock.setClock ? 1 : 0;
    } else {
        record->year = 0;
        m_strDeviceTime = LocalTimeText(now);
        m_nSetClock = 0;
    }
}

void CDeviceSettingDlg::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Text(pDX, IDC_DEVICE_NAME, m_strDeviceName);
    afx::DDX_Text(pDX, IDC_WORKGROUP, m_strWorkgroup);
    if (!pDX->m_bSaveAndValidate) {
        SendDlgItemMessage(IDC_DEVICE_NAME, EM_LIMITTEXT, 14);
        SendDlgItemMessage(IDC_WORKGROUP, EM_LIMITTEXT, 15);
    }
    // A control without a valid address keeps it and the values after it as they were.
    for (auto& a : {std::make_pair(UINT(IDC_ADDRESS), m_address), std::make_pair(UINT(IDC_MASK), m_mask),
                    std::make_pair(UINT(IDC_GATEWAY), m_gateway)}) {
        DDX_IPAddress(pDX, a.first, a.second);
        if (pDX->Failed())
            return;
    }
    afx::DDX_Control(pDX, IDC_INTERFACE_COMBO, m_combo);
    afx::DDX_Control(pDX, IDC_PC_PICTURE, m_picture);
    afx::DDX_Check(pDX, IDC_SET_CLOCK, m_nSetClock);
    afx::DDX_Text(pDX, IDC_DEVICE_TIME, m_strDeviceTime);
}

bool CDeviceSettingDlg::OnInitDialog()
{
    g_nSettingDeviceKind = uint16_t(Kind());
    afx::CDialog::OnInitDialog();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    m_hPicture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PC_PICTURE),
                                                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    SendDlgItemMessage(IDC_PC_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(m_hPicture));
    SetWindowText(afx::LoadStr(IDS_SETTING_TITLE));
    FillAdapterList();
    LayoutButtons();
    InitControls();
    ShowPcAddresses();
    ::CheckDlgButton(m_hWnd, IDC_USE_DHCP, m_nMode == 0 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_USE_STATIC, m_nMode == 0 ? BST_UNCHECKED : BST_CHECKED);
    if (m_nMode == 0)
        EnableAddressControls(false, false);
    std::string name, workgroup;
    if (m_pWorking)
        SplitNameAndWorkgroup(std::string(m_pWorking->name, strnlen(m_pWorking->name, sizeof(m_pWorking->name))), name,
                              workgroup, ThreadLeadBytes());
    m_strDeviceName = m_strStartName = FromThreadAnsi(name.c_str());
    m_strWorkgroup = m_strStartWorkgroup = FromThreadAnsi(workgroup.c_str());
    UpdateData(false);
    return true;
}

void CDeviceSettingDlg::FillAdapterList()
{
    std::vector<uint8_t> buffer = ReadAdapters();
    m_combo.SendMessage(CB_RESETCONTENT);
    int index = 0, match = -1;
    std::wstring mask, gateway;
    for (auto* a = buffer.empty() ? nullptr : reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a; a = a->Next, ++index) {
        m_combo.SendMessage(CB_ADDSTRING, 0, LPARAM(FromThreadAnsi(a->Description).c_str()));
        for (const IP_ADDR_STRING* ip = &a->IpAddressList; ip; ip = ip->Next) {
            if (FromThreadAnsi(ip->IpAddress.String) != m_strOwnerPcAddress)
                continue;
            match = index;
            mask = FromThreadAnsi(ip->IpMask.String);
            gateway = SameSubnetGateway(*a, m_strOwnerPcAddress, mask);
        }
    }
    SetPcAddresses(index == 0 ? std::wstring() : m_strOwnerPcAddress, mask, gateway);
    m_combo.SendMessage(CB_SETCURSEL, WPARAM(match < 0 ? 0 : match));
}

void CDeviceSettingDlg::OnSelchangeInterface()
{
    int sel = int(m_combo.SendMessage(CB_GETCURSEL));
    std::wstring description;
    int len = sel < 0 ? -1 : int(m_combo.SendMessage(CB_GETLBTEXTLEN, WPARAM(sel)));
    if (len >= 0) {
        std::vector<wchar_t> text(size_t(len) + 1, L'\0');
        m_combo.SendMessage(CB_GETLBTEXT, WPARAM(sel), LPARAM(text.data()));
        description = text.data();
    }
    TheApp().m_hostAddresses.Refresh();
    std::vector<uint8_t> buffer = ReadAdapters();
    if (buffer.empty())
        return;
    std::wstring address, mask, gateway;
    for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a; a = a->Next) {
        if (FromThreadAnsi(a->Description) != description)
            continue;
        const IP_ADDR_STRING* chosen = &a->IpAddressList;
        for (const IP_ADDR_STRING* ip = &a->IpAddressList; ip; ip = ip->Next)
            if (FromThreadAnsi(ip->IpAddress.String) == m_strOwnerPcAddress)
                chosen = ip;
        address = FromThreadAnsi(chosen->IpAddress.String);
        mask = FromThreadAnsi(chosen->IpMask.String);
        gateway = SameSubnetGateway(*a, address, mask);
    }
    SetPcAddresses(address, mask, gateway);
    ShowPcAddresses();
    ::SetFocus(GetDlgItem(IDOK));
}

void CDeviceSettingDlg::LayoutButtons()
{
    struct { CHoverButton* button; UINT id, normal, pressed, focused, disabled; } buttons[] = {
        {&m_btnClear, IDC_CLEAR, IDB_CLEAR, IDB_CLEAR_DOWN, IDB_CLEAR_FOCUS, IDB_CLEAR},
        {&m_btnOK, IDOK, IDB_OK, IDB_OK_DOWN, IDB_OK_FOCUS, IDB_OK},
        {&m_btnCancel, IDCANCEL, IDB_CANCEL, IDB_CANCEL_DOWN, IDB_CANCEL_FOCUS, IDB_CANCEL},
    };
    for (auto& b : buttons)
        b.button->ReplaceDlgItem(m_hWnd, b.id, b.normal, b.pressed, b.focused, b.disabled);
}

void CDeviceSettingDlg::InitControls()
{
    SetDlgItemText(IDC_LABEL_ADDRESS, afx::LoadStr(IDS_LABEL_ADDRESS));
    SetDlgItemText(IDC_LABEL_MASK, afx::LoadStr(IDS_LABEL_MASK));
    SetDlgItemText(IDC_LABEL_GATEWAY, afx::LoadStr(IDS_LABEL_GATEWAY));
    const UINT roles[3] = {IDC_ADDRESS, IDC_MASK, IDC_GATEWAY};
    for (int role = 0; role < 3; ++role)
        if (CIPAddrCtl* control = CIPAddrCtl::FromHandle(GetDlgItem(roles[role])))
            control->SetRole(role);
    SetDlgItemText(IDC_USE_DHCP, afx::LoadStr(IDS_USE_DHCP));
    SetDlgItemText(IDC_USE_STATIC, afx::LoadStr(IDS_USE_STATIC));
    ::ShowWindow(GetDlgItem(IDC_USE_DHCP), SW_SHOW);
    ::ShowWindow(GetDlgItem(IDC_USE_STATIC), SW_SHOW);
    ::CheckDlgButton(m_hWnd, IDC_SET_CLOCK, BST_UNCHECKED);
    if (m_pWorking && (m_pWorking->changeFlags & kChangeClock)) {
        bool storage = Kind() == kKindStorage;
        SetDlgItemText(IDC_CLOCK_GROUP, afx::LoadStr(storage ? IDS_CLOCK_GROUP_NAS : IDS_CLOCK_GROUP_AP));
        SetDlgItemText(IDC_CLOCK_LABEL, afx::LoadStr(storage ? IDS_CLOCK_LABEL_NAS : IDS_CLOCK_LABEL_AP));
        SetDlgItemText(IDC_SET_CLOCK, afx::LoadStr(storage ? IDS_SET_CLOCK_NAS : IDS_SET_CLOCK_AP));
        for (UINT id : {UINT(IDC_CLOCK_GROUP), UINT(IDC_CLOCK_LABEL), UINT(IDC_SET_CLOCK)})
            ::ShowWindow(GetDlgItem(id), SW_SHOW);
    }
}

void CDeviceSettingDlg::ShowPcAddresses()
{
    for (int i = 0; i < 12; ++i)
        SetDlgItemText(kPcPartIds[i], m_pcParts[i]);
}

void CDeviceSettingDlg::EnableAddressControls(bool address, bool gateway)
{
    for (UINT id : {UINT(IDC_ADDRESS), UINT(IDC_LABEL_ADDRESS), UINT(IDC_MASK), UINT(IDC_LABEL_MASK)})
        ::EnableWindow(GetDlgItem(id), address);
    for (UINT id : {UINT(IDC_GATEWAY), UINT(IDC_LABEL_GATEWAY)})
        ::EnableWindow(GetDlgItem(id), gateway);
}

void CDeviceSettingDlg::OnUseDhcp()
{
    ::CheckDlgButton(m_hWnd, IDC_USE_DHCP, BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_USE_STATIC, BST_UNCHECKED);
    m_nMode = 0;
    EnableAddressControls(false, false);
}

void CDeviceSettingDlg::OnUseStatic()
{
    ::CheckDlgButton(m_hWnd, IDC_USE_DHCP, BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_USE_STATIC, BST_CHECKED);
    m_nMode = 1;
    EnableAddressControls(true, Kind() != 1);
}

void CDeviceSettingDlg::OnClear()
{
    std::copy(m_startAddress, m_startAddress + 4, m_address);
    std::copy(m_startMask, m_startMask + 4, m_mask);
    std::copy(m_startGateway, m_startGateway + 4, m_gateway);
    m_nMode = 0;
    ::CheckDlgButton(m_hWnd, IDC_USE_DHCP, BST_CHECKED);
    OnUseDhcp();
    // Clear is about the addresses: a typed name and workgroup stay as typed.
    m_strDeviceName = GetDlgItemText(IDC_DEVICE_NAME);
    m_strWorkgroup = GetDlgItemText(IDC_WORKGROUP);
    UpdateData(false);
}

void CDeviceSettingDlg::RestoreAddresses()
{
    m_nMode = m_nStartMode;
    std::copy(m_startAddress, m_startAddress + 4, m_address);
    std::copy(m_startMask, m_startMask + 4, m_mask);
    std::copy(m_startGateway, m_startGateway + 4, m_gateway);
    UpdateData(false);
}

LRESULT CDeviceSettingDlg::OnAddressError(WPARAM, LPARAM lParam)
{
    m_bAddressMessage = true;
    m_strAddressMessage = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
    return 1;
}

void CDeviceSettingDlg::Message(UINT textId, UINT captionId, UINT icon)
{
    afx::MessageBoxRes(textId, captionId ? captionId : UINT(IDS_TITLE), MB_OK | icon, m_hWnd);
}

void CDeviceSettingDlg::OnOK()
{
    // A message left by an earlier OK that another check refused is stale by now.
    m_bAddressMessage = false;
    UpdateData(true);
    m_bClockRequested = ::IsDlgButtonChecked(m_hWnd, IDC_SET_CLOCK) == BST_CHECKED;
    if (m_pWorking) {
        if (m_bClockRequested) {
            m_pWorking->changeFlags |= kChangeClock;
            if (m_pTime) {
                std::time_t now = std::time(nullptr);
                std::tm utc = *std::gmtime(&now);
                m_pTime->year = uint16_t(utc.tm_year + 1900);
                m_pTime->month = uint8_t(utc.tm_mon + 1), m_pTime->day = uint8_t(utc.tm_mday);
                m_pTime->hour = uint8_t(utc.tm_hour), m_pTime->minute = uint8_t(utc.tm_min);
                m_pTime->second = uint8_t(utc.tm_sec);
            }
        } else {
            m_pWorking->changeFlags &= uint16_t(~kChangeClock);
        }
    }
    if (Kind() == kKindStorage) {
        unsigned e = CheckDeviceName(m_strDeviceName);
        if (!e)
            e = CheckWorkgroup(m_strWorkgroup, ThreadCodePage());
        if (e) {
            Message(e, 0, MB_ICONEXCLAMATION);
            return;
        }
    }
    bool dhcp = ::IsDlgButtonChecked(m_hWnd, IDC_USE_DHCP) == BST_CHECKED &&
                ::IsDlgButtonChecked(m_hWnd, IDC_USE_STATIC) != BST_CHECKED;
    m_nMode = dhcp ? 0 : 1;
    if (dhcp) {
        if (m_pWorking)
            m_pWorking->addressType = 0;
        EndDialog(IDOK);
        return;
    }
    if (m_bAddressMessage) {
        m_bAddressMessage = false;
        ::MessageBoxW(m_hWnd, m_strAddressMessage.c_str(), afx::LoadStr(IDS_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AddressSettingInput in;
    in.kind = Kind();
    in.address = FromOctets(m_address), in.mask = FromOctets(m_mask), in.gateway = FromOctets(m_gateway);
    in.startAddress = FromOctets(m_startAddress), in.startMask = FromOctets(m_startMask);
    in.startGateway = FromOctets(m_startGateway);
    in.mode = m_nMode, in.startMode = m_nStartMode;
    in.namesChanged = m_strDeviceName != m_strStartName || m_strWorkgroup != m_strStartWorkgroup;
    in.clockRequested = m_bClockRequested;
    in.pcAddress = m_strOwnerPcAddress;
    if (m_pWorking) {
        m_pWorking->addressType = 1;
        m_pWorking->address = in.address, m_pWorking->mask = in.mask, m_pWorking->gateway = in.gateway;
    }
    AddressSettingResult r = DecideStaticSetting(in);
    for (unsigned id : r.messages) {
        bool caution = id == kStrAddressConflict || id == kStrGatewayConflict;
        Message(id, caution ? UINT(IDS_CAUTION) : 0, MB_ICONEXCLAMATION);
    }
    if (r.restore)
        RestoreAddresses();
    if (!r.accept)
        return;
    UpdateData(true);
    EndDialog(IDOK);
}

void CDeviceSettingDlg::OnCancel()
{
    if (m_pOwner)
        m_pOwner->SendLogoffRequest();
    afx::CDialog::OnCancel();
}

bool CDeviceSettingDlg::PreTranslateMessage(MSG& msg)
{
    if (msg.message == WM_SYSKEYDOWN && (msg.wParam == 'I' || msg.wParam == 'U' || msg.wParam == 'D')) {
        if (m_nMode != 0)
            ::SetFocus(GetDlgItem(msg.wParam == 'I' ? IDC_ADDRESS : msg.wParam == 'U' ? IDC_MASK : IDC_GATEWAY));
        return true;
    }
    if (m_pOwner && m_pOwner->IsBusy())
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return false;
}

void CDeviceSettingDlg::OnPaint()
{
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, WPARAM(dc));
    RECT r = GetClientRect();
    DrawIcon(dc, (r.right - GetSystemMetrics(SM_CXICON) + 1) / 2, (r.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2,
             m_hIcon);
    EndPaint(m_hWnd, &ps);
}
