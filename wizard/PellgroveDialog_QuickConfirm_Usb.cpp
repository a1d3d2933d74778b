// The USB-stick confirmation page: the settings that go onto the stick in words, the firmware
// download onto the stick, and the completion of USB-stick mode.
#include "wizard/PellgroveDialog_QuickConfirm_Usb.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "wizard/FwDownload.h"
#include "wizard/PageControls.h"
#include "wizard/PellgroveApp.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"

BEGIN_MESSAGE_MAP(CPellgroveDialog_QuickConfirm_Usb, CPellgroveDialog)
    ON_BN_CLICKED(IDC_CONFIRM_DOWNLOAD_FW, OnClickedDownloadFirmware)
    ON_BN_CLICKED(IDC_USB_SETTING, OnClickedSetting)
END_MESSAGE_MAP()

namespace {

// Shown in every interface language: the automatic update function is turned on.
const wchar_t kAutoUpdateOn[] = L"自動アップデート機能をonにします。";

struct OptionRow {
    const int ProductConfig::*flag;
    int step;
    UINT label;
    int labelWidth;
    UINT value;
};
const OptionRow kOptionRows[] = {
    {&ProductConfig::Show_FolderPublication, 21, IDC_USB_FOLDER_PUBLICATION_LABEL, 200, IDC_USB_FOLDER_PUBLICATION},
    {&ProductConfig::Show_AutoUpdate, 16, IDC_USB_AUTOUPDATE_LABEL, 140, IDC_USB_AUTOUPDATE},
    {&ProductConfig::Show_DelRecRsvInfo, 16, IDC_USB_DELETE_RESERVATION_LABEL, 140, IDC_USB_DELETE_RESERVATION},
    {&ProductConfig::Show_LEDBrightness, 16, IDC_USB_LED_LABEL, 100, IDC_USB_LED},
    {&ProductConfig::Show_PowerSaving, 16, IDC_USB_POWER_SAVING_LABEL, 100, IDC_USB_POWER_SAVING},
    {&ProductConfig::Show_Category, 16, IDC_USB_CATEGORY_LABEL, 100, IDC_USB_CATEGORY},
    {&ProductConfig::Show_RecDirection, 16, IDC_USB_PLACE_LABEL, 140, IDC_USB_PLACE},
};

std::wstring ValidText(const std::wstring& value)
{
    return afx::LoadStr(value == L"on" ? IDS_ADAPTER_DHCP_VALID : IDS_ADAPTER_DHCP_INVALID);
}

}  // namespace

CPellgroveDialog_QuickConfirm_Usb::CPellgroveDialog_QuickConfirm_Usb(HWND parent, RECT* pageRect)
    : CPellgroveDialog(IDD_PELLGROVE_QUICK_CONFIRM_USB, parent), m_pPageRect(pageRect)
{
    m_pTrackedRect = pageRect;  // recorded into once the page has placed itself
}

void CPellgroveDialog_QuickConfirm_Usb::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDC_MANUAL_COPY, m_chkManualCopy);
    afx::DDX_Control(pDX, IDOK, m_btnCompletion);
    afx::DDX_Check(pDX, IDC_SHARE_SHORTCUT, m_bShareShortcut);
    afx::DDX_Check(pDX, IDC_SETTING_SHORTCUT, m_bSettingShortcut);
    const std::pair<UINT, std::wstring*> texts[] = {
        {IDC_NAME, &m_strName}, {IDC_COMMENT, &m_strComment}, {IDC_WORKGROUP, &m_strWorkgroup},
        {IDC_DHCP_VALUE, &m_strDhcp}, {IDC_GATEWAY_VALUE, &m_strGateway}, {IDC_IP_VALUE, &m_strIp},
        {IDC_DNS_VALUE, &m_strDns}, {IDC_MASK_VALUE, &m_strMask}, {IDC_USB_AUTOUPDATE, &m_strAutoUpdate},
        {IDC_USB_LED, &m_strLed}, {IDC_USB_DELETE_RESERVATION, &m_strDeleteReservation},
        {IDC_USB_FOLDER_PUBLICATION, &m_strFolderPublication}, {IDC_USB_POWER_SAVING, &m_strPowerSaving},
        {IDC_CONFIRM_NTP, &m_strNtp}, {IDC_CONFIRM_NTP_SERVER, &m_strNtpServer}};
    for (const auto& [id, text] : texts)
        afx::DDX_Text(pDX, id, *text);
    afx::DDX_Control(pDX, IDC_USB_SETTING, m_btnSetting);
    afx::DDX_Text(pDX, IDC_USB_CATEGORY, m_strCategory);
    afx::DDX_Text(pDX, IDC_USB_PLACE, m_strPlace);
}

bool CPellgroveDialog_QuickConfirm_Usb::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    SetBackground(IDB_CONFIRM_USB_BACKGROUND);
    HWND self = m_hWnd;
    const ProductConfig& config = g_productConfig;
    // Rows are placed before the skin collects the labels it draws.
    struct Row { UINT label; int y, labelWidth; UINT value; int valueWidth; };
    const Row rows[] = {{IDC_NAME_LABEL, 98, 120, IDC_NAME, 120},
                        {IDC_DHCP_LABEL, 114, 100, IDC_DHCP_VALUE, 70},
                        {IDC_CONFIRM_IP_LABEL, 130, 100, IDC_IP_VALUE, 100},
                        {IDC_CONFIRM_MASK_LABEL, 146, 120, IDC_MASK_VALUE, 130},
                        {IDC_CONFIRM_GATEWAY_LABEL, 162, 150, IDC_GATEWAY_VALUE, 100},
                        {IDC_CONFIRM_DNS_LABEL, 178, 100, IDC_DNS_VALUE, 100}};
    for (const Row& row : rows) {
        PlaceControl(self, row.label, 26, row.y, row.labelWidth, 16);
        PlaceControl(self, row.value, 176, row.y, row.valueWidth, 16);
    }
    ShowControl(self, IDC_CONFIRM_DOWNLOAD_FW, config.Show_DownloadFW != 0);
    if (config.Show_DownloadFW)
        PlaceControl(self, IDC_CONFIRM_DOWNLOAD_FW, 20, 258, 300, 16);
    const bool shortcuts = config.Show_ShortCut != 0;
    const bool named = !m_pContext->settings.name.empty();
    PlaceControl(self, IDC_SHARE_SHORTCUT, 20, 276, 560, 16);
    PlaceControl(self, IDC_SETTING_SHORTCUT, 20, 294, 560, 16);
    for (UINT id : {IDC_SHARE_SHORTCUT, IDC_SETTING_SHORTCUT}) {
        ShowControl(self, id, shortcuts);
        EnableControl(self, id, false);
    }
    m_bShareShortcut = m_bSettingShortcut = shortcuts && named ? 1 : 0;
    const bool manual = config.Show_ManualCopy != 0;
    PlaceControl(self, IDC_MANUAL_COPY, 330, 258, 260, 16);
    ShowControl(self, IDC_MANUAL_COPY, manual);
    EnableControl(self, IDC_MANUAL_COPY, false);
    ::SendDlgItemMessageW(self, IDC_MANUAL_COPY, BM_SETCHECK, manual ? BST_CHECKED : BST_UNCHECKED, 0);
    for (UINT id : {IDC_COMMENT_LABEL, IDC_COMMENT, IDC_WORKGROUP_LABEL, IDC_WORKGROUP})
        ShowControl(self, id, false);
    ArrangeControls();
    ApplySkin();

    m_btnCompletion.SetBitmaps(IDB_COMPLETION, IDB_COMPLETION_SELECTED, IDB_COMPLETION_FOCUSED, IDB_COMPLETION_DISABLED);
    m_btnSetting.SetBitmaps(IDB_BACK, IDB_BACK_SELECTED, IDB_BACK_FOCUSED, IDB_BACK_DISABLED);
    m_btnCompletion.MoveTo(445, 322, true);
    m_btnSetting.MoveTo(15, 322, true);
    InitControls();

    if (m_pPageRect && (m_pPageRect->left || m_pPageRect->top || m_pPageRect->right || m_pPageRect->bottom))
        MoveWindow(m_pPageRect->left, m_pPageRect->top, m_pPageRect->right - m_pPageRect->left,
                   m_pPageRect->bottom - m_pPageRect->top, true);
    RecordMovesInto(m_pPageRect);
    return true;
}

void CPellgroveDialog_QuickConfirm_Usb::InitControls()
{
    ArrangeControls();
    ShowValues();
    UpdateData(false);
    InvalidateLabels();
}

void CPellgroveDialog_QuickConfirm_Usb::ArrangeControls()
{
    HWND self = m_hWnd;
    const ProductConfig& config = g_productConfig;
    // Once skinned, the page draws the shown rows itself: showing their controls again would
    // draw them twice.
    auto show = [this, self](UINT id, bool shown) {
        if (!shown || !IsSkinned())
            ShowControl(self, id, shown);
    };
    int y = 98;
    const bool ntp = config.Show_NTP != 0;
    for (UINT id : {IDC_CONFIRM_NTP_LABEL, IDC_CONFIRM_NTP_SERVER_LABEL})
        show(id, ntp);
    if (ntp) {
        PlaceControl(self, IDC_CONFIRM_NTP_LABEL, 300, 98, 200, 18);
        PlaceControl(self, IDC_CONFIRM_NTP, 450, 96, 100, 18);
        PlaceControl(self, IDC_CONFIRM_NTP_SERVER_LABEL, 300, 114, 100, 18);
        PlaceControl(self, IDC_CONFIRM_NTP_SERVER, 450, 112, 100, 18);
        y = 114;
    }
    ShowControl(self, IDC_CONFIRM_DOWNLOAD_FW, config.Show_DownloadFW != 0);
    for (const OptionRow& row : kOptionRows) {
        const bool shown = config.Show_DetailSetting && config.*row.flag;
        show(row.label, shown);
        show(row.value, shown);
        if (shown) {
            y += row.step;
            PlaceControl(self, row.label, 300, y, row.labelWidth, 18);
            PlaceControl(self, row.value, 450, y - 2, 100, 18);
        }
    }
}

void CPellgroveDialog_QuickConfirm_Usb::ShowValues()
{
    const CDeviceSettings& r = m_pContext->settings;
    const ProductConfig& config = g_productConfig;
    m_strName = r.name.empty() || r.name == StoredDeviceName ? afx::LoadStr(IDS_NAME_UNCHANGED) : r.name;
    const bool dhcp = r.dhcp == L"on";
    m_strDhcp = afx::LoadStr(dhcp ? IDS_DHCP_USE : IDS_DHCP_DO_NOT_USE);
    m_strIp = dhcp ? L"" : r.ip;
    m_strMask = dhcp ? L"" : r.netmask;
    m_strGateway = dhcp ? L"" : r.gateway;
    m_strDns = dhcp ? L"" : r.nameserver;
    if (config.Show_NTP) {
        m_strNtp = ValidText(r.ntp);
        m_strNtpServer = r.ntpserver;
    }
    if (!config.Show_DetailSetting)
        return;
    m_strAutoUpdate = ValidText(r.autoupdate);
    m_strDeleteReservation = ValidText(r.resrecdel);
    m_strFolderPublication = ValidText(r.share);
    m_strLed = afx::LoadStr(r.led == L"0" ? IDS_LED_DARK : r.led == L"1" ? IDS_LED_MIDDLE : IDS_LED_BRIGHT);
    const std::pair<const wchar_t*, UINT> power[] = {
        {L"off", IDS_POWER_NONE}, {L"600", IDS_POWER_10_MINUTES}, {L"1200", IDS_POWER_20_MINUTES},
        {L"1800", IDS_POWER_30_MINUTES}, {L"3600", IDS_POWER_1_HOUR}, {L"10800", IDS_POWER_3_HOURS},
        {L"21600", IDS_POWER_6_HOURS}};
    UINT powerId = IDS_POWER_NONE;
    for (const auto& [value, id] : power)
        if (r.spindown == value)
            powerId = id;
    m_strPowerSaving = afx::LoadStr(powerId);
    if (config.Show_Category)
        m_strCategory = afx::LoadStr(r.category == L"english" ? IDS_CATEGORY_ENGLISH : IDS_CATEGORY_JAPANESE);
    if (config.Show_RecDirection)
        m_strPlace = afx::LoadStr(r.recpreserve == L"hdd" ? IDS_PLACE_HDD : IDS_PLACE_CARTRIDGE);
}

void CPellgroveDialog_QuickConfirm_Usb::OnClickedDownloadFirmware()
{
    if (::SendDlgItemMessageW(m_hWnd, IDC_CONFIRM_DOWNLOAD_FW, BM_GETCHECK, 0, 0) != BST_CHECKED)
        return;  // unticking leaves the automatic update as it is
    CDeviceSettings& r = m_pContext->settings;
    if (r.autoupdate != L"off")
        return;
    ::MessageBoxW(m_hWnd, kAutoUpdateOn, ApplicationTitle().c_str(), MB_OK | MB_ICONINFORMATION);
    r.autoupdate = L"on";
    if (!m_pContext->WriteSettings())
        afx::MessageBoxRes(IDS_SETTINGS_NOT_SAVED, IDS_ERROR, MB_OK, m_hWnd);
    InitControls();
}

void CPellgroveDialog_QuickConfirm_Usb::OnClickedSetting() { EndDialog(kPageSwitch); }

void CPellgroveDialog_QuickConfirm_Usb::OnOK()
{
    UpdateData(true);
    wchar_t folder[MAX_PATH] = {};
    GetPellgroveApp().InstallGuideFiles(folder);
    if (g_productConfig.Show_DownloadFW &&
        ::SendDlgItemMessageW(m_hWnd, IDC_CONFIRM_DOWNLOAD_FW, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        CFwDownload download(m_hWnd);
        download.DoModal();
    }
    if (UpdateData(true))
        EndDialog(kPageCompleted);
}
