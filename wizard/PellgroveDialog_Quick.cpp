// The settings page: layout, filling the controls from the record, and its small handlers.
#include "wizard/PellgroveDialog_Quick.h"
#include "afx/ResourceLanguage.h"
#include "wizard/DeviceSettings.h"
#include "wizard/PellgroveApp.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupState.h"
#include "resources/pellgrove/resource.h"

BEGIN_MESSAGE_MAP(CPellgroveDialog_Quick, CPellgroveDialog)
    ON_BN_CLICKED(IDC_DHCP_AUTO, OnClickedDhcp)
    ON_BN_CLICKED(IDC_DHCP_STATIC, OnClickedStatic)
    ON_BN_CLICKED(IDC_NTP_VALID, OnClickedNtp)
    ON_BN_CLICKED(IDC_NTP_INVALID, OnClickedNtp)
    ON_BN_CLICKED(IDC_CHANGE_NAME, OnClickedChangeName)
    ON_BN_CLICKED(IDC_QUICK_CANCEL, OnClickedSetting)
END_MESSAGE_MAP()

const wchar_t* const CPellgroveDialog_Quick::kPowerSavingValues[7] = {L"off",  L"600",   L"1200", L"1800",
                                                                      L"3600", L"10800", L"21600"};

namespace {

const UINT kOptionControls[] = {IDC_QUICK_SHARE_LABEL, IDC_SHARE_VALID, IDC_SHARE_INVALID,
                                IDC_QUICK_AUTOUPDATE_LABEL, IDC_AUTOUPDATE_VALID, IDC_AUTOUPDATE_INVALID,
                                IDC_QUICK_RESREC_LABEL, IDC_DELETE_RESERVATION, IDC_QUICK_LED_LABEL,
                                IDC_LED_BRIGHT, IDC_LED_MID, IDC_LED_DARK, IDC_QUICK_POWER_LABEL,
                                IDC_POWER_SAVING, IDC_QUICK_CATEGORY_LABEL, IDC_CATEGORY_JAPANESE,
                                IDC_CATEGORY_ENGLISH, IDC_QUICK_PLACE_LABEL, IDC_PLACE_HDD, IDC_PLACE_CARTRIDGE};

// The address controls are wider than their four fields need in the system's own font, so
// that a three-digit last field is never cut.
constexpr int kAddressWidth = 145;
// Room below a drop-down list's field for the list itself.
constexpr int kDropDownHeight = 160;

}  // namespace

CPellgroveDialog_Quick::CPellgroveDialog_Quick(HWND parent, RECT* pageRect)
    : CPellgroveDialog(IDD_PELLGROVE_QUICK, parent), m_pPageRect(pageRect)
{
    m_pTrackedRect = pageRect;  // recorded into once the page has placed itself
}

void CPellgroveDialog_Quick::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDC_CHANGE_NAME, m_chkChangeName);
    afx::DDX_Control(pDX, IDC_POWER_SAVING, m_cmbPowerSaving);
    afx::DDX_Control(pDX, IDOK, m_btnOK);
    afx::DDX_Control(pDX, IDC_QUICK_CANCEL, m_btnCancel);
    afx::DDX_Control(pDX, IDC_IP_MASK, m_ipMask);
    afx::DDX_Control(pDX, IDC_IP_DNS, m_ipDns);
    afx::DDX_Control(pDX, IDC_IP_ADDRESS, m_ipAddress);
    afx::DDX_Control(pDX, IDC_IP_GATEWAY, m_ipGateway);
    afx::DDX_Text(pDX, IDC_NAME, m_strName);
    afx::DDX_Text(pDX, IDC_COMMENT, m_strComment);
    afx::DDX_Text(pDX, IDC_WORKGROUP, m_strWorkgroup);
    afx::DDX_Text(pDX, IDC_TIME_SERVER, m_strTimeServer);
    DDX_Radio(pDX, IDC_AUTOUPDATE_VALID, m_nAutoUpdate);
    DDX_Radio(pDX, IDC_LED_BRIGHT, m_nLed);
    DDX_Radio(pDX, IDC_NTP_VALID, m_nNtp);
    DDX_Radio(pDX, IDC_SHARE_VALID, m_nShare);
    afx::DDX_Check(pDX, IDC_DELETE_RESERVATION, m_bDeleteReservation);
    for (auto check : {std::make_pair(&m_strName, 14), std::make_pair(&m_strComment, 48),
                       std::make_pair(&m_strWorkgroup, 15)}) {
        DDV_MaxCharsText(pDX, *check.first, check.second);
        if (pDX->Failed())
            return;
    }
    DDX_Radio(pDX, IDC_CATEGORY_JAPANESE, m_nCategory);
    DDX_Radio(pDX, IDC_PLACE_HDD, m_nPlace);
}

bool CPellgroveDialog_Quick::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    const bool usb = g_productConfig.UsbMode != 0;
    HWND self = m_hWnd;
    SetBackground(usb ? IDB_QUICK_USB_BACKGROUND : IDB_QUICK_BACKGROUND);

    // Rows are laid out before the skin collects the labels it draws, so that the labels of
    // hidden rows are not drawn.
    if (usb) {
        m_chkChangeName.ShowWindow(SW_SHOW);
        PlaceControl(self, IDC_CHANGE_NAME, 136, 83, 80, 20);
        PlaceControl(self, IDC_NAME_LABEL, 26, 85, 110, 20);
        PlaceControl(self, IDC_NAME, 26, 105, 245, 20);
        PlaceControl(self, IDC_DHCP_AUTO, 26, 172, 250, 20);
        PlaceControl(self, IDC_DHCP_STATIC, 26, 190, 200, 20);
        PlaceControl(self, IDC_QUICK_IP_LABEL, 26, 210, 100, 20);
        PlaceControl(self, IDC_IP_ADDRESS, 145, 210, kAddressWidth, 20);
        PlaceControl(self, IDC_QUICK_MASK_LABEL, 26, 227, 100, 20);
        PlaceControl(self, IDC_IP_MASK, 145, 229, kAddressWidth, 20);
        PlaceControl(self, IDC_QUICK_GATEWAY_LABEL, 26, 244, 115, 20);
        PlaceControl(self, IDC_IP_GATEWAY, 145, 247, kAddressWidth, 21);
        PlaceControl(self, IDC_QUICK_DNS_LABEL, 26, 263, 100, 20);
        PlaceControl(self, IDC_IP_DNS, 145, 267, kAddressWidth, 20);
        m_chkChangeName.SetCheck(m_pContext->settings.name != StoredDeviceName ? BST_CHECKED : BST_UNCHECKED);
    } else {
        m_nRowTop = 92;
        PlaceControl(self, IDC_NAME_LABEL, 107, 92, 120, 20);
        PlaceControl(self, IDC_NAME, 257, 90, 200, 20);
        PlaceControl(self, IDC_DHCP_AUTO, 107, 180, 250, 20);
        PlaceControl(self, IDC_DHCP_STATIC, 107, 198, 200, 20);
        PlaceControl(self, IDC_QUICK_IP_LABEL, 107, 220, 140, 20);
        PlaceControl(self, IDC_IP_ADDRESS, 257, 220, kAddressWidth, 20);
        PlaceControl(self, IDC_QUICK_MASK_LABEL, 107, 240, 100, 20);
        PlaceControl(self, IDC_IP_MASK, 257, 240, kAddressWidth, 20);
        PlaceControl(self, IDC_QUICK_GATEWAY_LABEL, 107, 260, 140, 20);
        PlaceControl(self, IDC_IP_GATEWAY, 257, 260, kAddressWidth, 20);
        PlaceControl(self, IDC_QUICK_DNS_LABEL, 107, 280, 100, 20);
        PlaceControl(self, IDC_IP_DNS, 257, 280, kAddressWidth, 20);
        m_chkChangeName.ShowWindow(SW_HIDE);
    }
    ArrangeControls();
    ApplySkin();

    m_btnOK.SetBitmaps(IDB_OK, IDB_OK_SELECTED, IDB_OK_FOCUSED, IDB_OK_DISABLED);
    m_btnCancel.SetBitmaps(IDB_BACK, IDB_BACK_SELECTED, IDB_BACK_FOCUSED, IDB_BACK_DISABLED);
    const int buttonY = usb ? 322 : 315;
    m_btnOK.MoveTo(445, buttonY, true);
    m_btnCancel.MoveTo(15, buttonY, true);

    BuildPowerSavingList();
    InitControls();
    EnableControl(self, IDC_NAME, !usb || m_chkChangeName.GetCheck() == BST_CHECKED);

    if (m_pPageRect && (m_pPageRect->left || m_pPageRect->top || m_pPageRect->right || m_pPageRect->bottom))
        MoveWindow(m_pPageRect->left, m_pPageRect->top, m_pPageRect->right - m_pPageRect->left,
                   m_pPageRect->bottom - m_pPageRect->top, true);
    RecordMovesInto(m_pPageRect);
    return true;
}

void CPellgroveDialog_Quick::BuildPowerSavingList()
{
    const UINT texts[7] = {IDS_POWER_NONE,  IDS_POWER_10_MINUTES, IDS_POWER_20_MINUTES, IDS_POWER_30_MINUTES,
                           IDS_POWER_1_HOUR, IDS_POWER_3_HOURS,   IDS_POWER_6_HOURS};
    const std::wstring menu = g_productConfig.PowerSavingMenu;
    for (int i = 0; i < 7; ++i) {
        // The configured menu value names the last entry offered.
        if (i > 0 && menu == kPowerSavingValues[i - 1])
            break;
        std::wstring text = afx::LoadStr(texts[i]);
        if (m_cmbPowerSaving.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0)
            break;
    }
}

// The rows were arranged before the skin took the labels: showing a label again now would
// have the system draw it over the page's own drawing.
void CPellgroveDialog_Quick::InitControls()
{
    if (g_productConfig.UsbMode)
        FillChoices();
    else
        FillAddressControls();
    UpdateTimeServerState();
    UpdateData(false);
    InvalidateLabels();
}

void CPellgroveDialog_Quick::ArrangeControls()
{
    HWND self = m_hWnd;
    const ProductConfig& config = g_productConfig;
    const bool normal = !config.UsbMode;
    // The rows below the name start again from the name row whenever the page is arranged.
    if (normal)
        m_nRowTop = 92;

    const bool comment = config.Show_Comment && normal;
    ShowControl(self, IDC_COMMENT_LABEL, comment);
    ShowControl(self, IDC_COMMENT, comment);
    if (comment) {
        m_nRowTop += 20;
        PlaceControl(self, IDC_COMMENT_LABEL, 107, m_nRowTop, 100, 20);
        PlaceControl(self, IDC_COMMENT, 257, m_nRowTop - 2, 200, 20);
    }
    const bool workgroup = config.Show_WorkGroup && normal;
    ShowControl(self, IDC_WORKGROUP_LABEL, workgroup);
    ShowControl(self, IDC_WORKGROUP, workgroup);
    if (workgroup) {
        m_nRowTop += 20;
        PlaceControl(self, IDC_WORKGROUP_LABEL, 107, m_nRowTop, 120, 20);
        PlaceControl(self, IDC_WORKGROUP, 257, m_nRowTop - 2, 200, 20);
    }

    const bool ntp = config.Show_NTP != 0;
    for (UINT id : {IDC_QUICK_NTP_LABEL, IDC_NTP_VALID, IDC_NTP_INVALID, IDC_QUICK_TIME_SERVER_LABEL, IDC_TIME_SERVER})
        ShowControl(self, id, ntp);
    if (ntp && normal) {
        // The name, comment and workgroup edits reach x 457 in normal mode: the time rows
        // stand beside the address block instead.
        PlaceControl(self, IDC_QUICK_NTP_LABEL, 415, 180, 170, 20);
        PlaceControl(self, IDC_NTP_VALID, 415, 200, 80, 20);
        PlaceControl(self, IDC_NTP_INVALID, 500, 200, 85, 20);
        PlaceControl(self, IDC_QUICK_TIME_SERVER_LABEL, 415, 222, 170, 20);
        PlaceControl(self, IDC_TIME_SERVER, 415, 242, 170, 20);
    } else if (ntp) {
        PlaceControl(self, IDC_QUICK_NTP_LABEL, 295, 85, 120, 20);
        PlaceControl(self, IDC_NTP_VALID, 425, 82, 60, 20);
        PlaceControl(self, IDC_NTP_INVALID, 490, 82, 65, 20);
        PlaceControl(self, IDC_QUICK_TIME_SERVER_LABEL, 295, 105, 100, 20);
        PlaceControl(self, IDC_TIME_SERVER, 295, 125, 280, 20);
    }

    for (UINT id : kOptionControls)
        ShowControl(self, id, false);
    // In normal mode the device options are neither filled nor stored, and the normal-mode key
    // set has none of them: the block is shown in USB-stick mode only.
    if (config.Show_DetailSetting && !normal) {
        int y = 173;
        bool any = false;
        // Each shown row goes one step below the row shown before it.
        auto next = [&](int extra) {
            if (any)
                y += 20 + extra;
            any = true;
        };
        auto show = [&](UINT id, int x, int top, int width, int height) {
            ShowControl(self, id, true);
            PlaceControl(self, id, x, top, width, height);
        };
        if (config.Show_FolderPublication) {
            next(0);
            show(IDC_QUICK_SHARE_LABEL, 295, y, 120, 20);
            show(IDC_SHARE_VALID, 425, y - 2, 60, 20);
            show(IDC_SHARE_INVALID, 490, y - 2, 65, 20);
        }
        if (config.Show_AutoUpdate) {
            next(0);
            show(IDC_QUICK_AUTOUPDATE_LABEL, 295, y, 120, 20);
            show(IDC_AUTOUPDATE_VALID, 425, y - 2, 60, 20);
            show(IDC_AUTOUPDATE_INVALID, 490, y - 2, 65, 20);
        }
        if (config.Show_DelRecRsvInfo) {
            next(0);
            show(IDC_QUICK_RESREC_LABEL, 295, y, 190, 20);
            show(IDC_DELETE_RESERVATION, 490, y - 3, 80, 20);
        }
        if (config.Show_LEDBrightness) {
            next(0);
            show(IDC_QUICK_LED_LABEL, 295, y, 120, 19);
            show(IDC_LED_BRIGHT, 425, y - 3, 55, 19);
            show(IDC_LED_MID, 485, y - 3, 45, 19);
            show(IDC_LED_DARK, 530, y - 3, 50, 19);
        }
        if (config.Show_PowerSaving) {
            next(0);
            show(IDC_QUICK_POWER_LABEL, 295, y, 120, 19);
            show(IDC_POWER_SAVING, 425, y - 3, 100, kDropDownHeight);
        }
        if (config.Show_Category) {
            next(1);
            show(IDC_QUICK_CATEGORY_LABEL, 295, y, 120, 20);
            show(IDC_CATEGORY_ENGLISH, 425, y, 65, 20);
            show(IDC_CATEGORY_JAPANESE, 490, y, 80, 22);
        }
        if (config.Show_RecDirection) {
            next(0);
            show(IDC_QUICK_PLACE_LABEL, 295, y + 1, 130, 19);
            show(IDC_PLACE_HDD, 425, y, 65, 20);
            show(IDC_PLACE_CARTRIDGE, 490, y, 90, 20);
        }
    }
    UpdateTimeServerState();
}

void CPellgroveDialog_Quick::FillAddressBlock()
{
    const CDeviceSettings& record = m_pContext->settings;
    const bool dhcp = record.dhcp == L"on";
    CheckRadioButton(m_hWnd, IDC_DHCP_AUTO, IDC_DHCP_STATIC, dhcp ? IDC_DHCP_AUTO : IDC_DHCP_STATIC);
    EnableAddressFields(dhcp ? 0 : 1);
    const std::pair<const std::wstring*, CIpAddressCtrl*> fields[] = {
        {&record.ip, &m_ipAddress}, {&record.netmask, &m_ipMask}, {&record.gateway, &m_ipGateway},
        {&record.nameserver, &m_ipDns}};
    for (const auto& field : fields) {
        uint32_t address = ParseDottedQuad(field.first->c_str());
        if (address)
            field.second->SetAddress(address);
        else
            field.second->ClearAddress();
    }
}

void CPellgroveDialog_Quick::FillAddressControls()
{
    const CDeviceSettings& record = m_pContext->settings;
    m_strName = record.name;
    if (g_productConfig.Show_Comment)
        m_strComment = record.comment;
    if (g_productConfig.Show_WorkGroup)
        m_strWorkgroup = record.workgroup;
    if (g_productConfig.Show_NTP) {
        m_nNtp = record.ntp == L"on" ? 0 : 1;
        m_strTimeServer = record.ntpserver;
    }
    FillAddressBlock();
}

void CPellgroveDialog_Quick::FillChoices()
{
    const CDeviceSettings& record = m_pContext->settings;
    const ProductConfig& config = g_productConfig;
    m_strName = record.name;
    if (config.Show_NTP) {
        m_nNtp = record.ntp == L"on" ? 0 : 1;
        m_strTimeServer = record.ntpserver;
    }
    if (config.Show_DetailSetting) {
        m_nAutoUpdate = record.autoupdate == L"on" ? 0 : 1;
        m_bDeleteReservation = record.resrecdel == L"on" ? 1 : 0;
        m_nShare = record.share == L"on" ? 0 : 1;
        m_nLed = record.led == L"0" ? 2 : record.led == L"1" ? 1 : 0;
        int power = 0;
        for (int i = 0; i < 7; ++i)
            if (record.spindown == kPowerSavingValues[i])
                power = i;
        // An index the list does not offer selects nothing.
        m_cmbPowerSaving.SendMessage(CB_SETCURSEL, WPARAM(power));
    }
    if (config.Show_Category)
        m_nCategory = record.category == L"japanese" ? 0 : 1;
    if (config.Show_RecDirection)
        m_nPlace = record.recpreserve == L"hdd" ? 0 : 1;
    FillAddressBlock();
}

void CPellgroveDialog_Quick::EnableAddressFields(int enable)
{
    for (UINT id : {IDC_IP_ADDRESS, IDC_IP_MASK, IDC_IP_GATEWAY, IDC_IP_DNS})
        EnableControl(m_hWnd, id, enable != 0);
}

void CPellgroveDialog_Quick::OnClickedDhcp() { EnableAddressFields(0); }

void CPellgroveDialog_Quick::OnClickedStatic() { EnableAddressFields(1); }

void CPellgroveDialog_Quick::OnClickedNtp()
{
    UpdateData(true);
    UpdateTimeServerState();
}

void CPellgroveDialog_Quick::UpdateTimeServerState()
{
    EnableControl(m_hWnd, IDC_TIME_SERVER, g_productConfig.Show_NTP && m_nNtp == 0);
    if (g_productConfig.UsbMode)
        EnableAddressFields(IsDlgButtonChecked(m_hWnd, IDC_DHCP_AUTO) == BST_CHECKED ? 0 : 1);
}

void CPellgroveDialog_Quick::OnClickedChangeName()
{
    UpdateData(true);
    if (m_chkChangeName.GetCheck() == BST_CHECKED) {
        std::wstring text = FormatArg(afx::LoadStr(IDS_CHANGE_NAME_QUESTION), g_productConfig.Dorvane);
        std::wstring title = ApplicationTitle();
        if (::MessageBoxW(m_hWnd, text.c_str(), title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) == IDNO) {
            m_chkChangeName.SetCheck(BST_UNCHECKED);
            m_strName = StoredDeviceName;
            UpdateData(false);
        } else if (m_strName.empty()) {
            m_strName = g_productConfig.Model;
            UpdateData(false);
        }
    } else {
        m_strName = StoredDeviceName;
        UpdateData(false);
    }
    EnableControl(m_hWnd, IDC_NAME, m_chkChangeName.GetCheck() == BST_CHECKED);
}
