// The confirmation page of the quick setup in normal mode.
#include "wizard/PellgroveDialog_QuickConfirm.h"
#include "afx/ResourceLanguage.h"
#include "wizard/PageControls.h"
#include "wizard/PellgroveApp.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"
#include "resources/pellgrove/resource.h"

BEGIN_MESSAGE_MAP(CPellgroveDialog_QuickConfirm, CPellgroveDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_CONFIRM_SETTING, OnClickedSetting)
    ON_BN_CLICKED(IDC_CONFIRM_BACK_TO_TOP, OnClickedBackToTop)
END_MESSAGE_MAP()

namespace {

const UINT kOptionValues[] = {IDC_CONFIRM_OPTION_SHARE, IDC_CONFIRM_OPTION_AUTOUPDATE,
                              IDC_CONFIRM_OPTION_RESREC, IDC_CONFIRM_OPTION_LED,
                              IDC_CONFIRM_OPTION_POWER};
const UINT kOptionLabels[] = {IDC_CONFIRM_SHARE_LABEL, IDC_CONFIRM_AUTOUPDATE_LABEL, IDC_CONFIRM_RESREC_LABEL,
                              IDC_CONFIRM_LED_LABEL, IDC_CONFIRM_POWER_LABEL, IDC_CONFIRM_CATEGORY_LABEL,
                              IDC_CONFIRM_PLACE_LABEL};

}  // namespace

CPellgroveDialog_QuickConfirm::CPellgroveDialog_QuickConfirm(HWND parent, RECT* pageRect)
    : CPellgroveDialog(IDD_PELLGROVE_QUICK_CONFIRM, parent), m_pPageRect(pageRect)
{
    m_pTrackedRect = pageRect;  // recorded into once the page has placed itself
    ShareShortcutChecked = 0;
    SettingShortcutChecked = 0;
}

void CPellgroveDialog_QuickConfirm::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDC_MANUAL_COPY, m_chkManualCopy);
    afx::DDX_Control(pDX, IDOK, m_btnCompletion);
    int share = ShareShortcutChecked, setting = SettingShortcutChecked;
    afx::DDX_Check(pDX, IDC_SHARE_SHORTCUT, share);
    afx::DDX_Check(pDX, IDC_SETTING_SHORTCUT, setting);
    ShareShortcutChecked = share;
    SettingShortcutChecked = setting;
    afx::DDX_Text(pDX, IDC_NAME, m_strName);
    afx::DDX_Text(pDX, IDC_COMMENT, m_strComment);
    afx::DDX_Text(pDX, IDC_WORKGROUP, m_strWorkgroup);
    afx::DDX_Text(pDX, IDC_DHCP_VALUE, m_strDhcp);
    afx::DDX_Text(pDX, IDC_GATEWAY_VALUE, m_strGateway);
    afx::DDX_Text(pDX, IDC_IP_VALUE, m_strIp);
    afx::DDX_Text(pDX, IDC_DNS_VALUE, m_strDns);
    afx::DDX_Text(pDX, IDC_MASK_VALUE, m_strMask);
    for (int i = 0; i < 5; ++i)
        afx::DDX_Text(pDX, kOptionValues[i], m_strOptions[i]);
    afx::DDX_Text(pDX, IDC_CONFIRM_NTP, m_strNtp);
    afx::DDX_Text(pDX, IDC_CONFIRM_NTP_SERVER, m_strNtpServer);
    afx::DDX_Control(pDX, IDC_CONFIRM_SETTING, m_btnSetting);
    afx::DDX_Text(pDX, IDC_CONFIRM_OPTION_CATEGORY, m_strOptions[5]);
    afx::DDX_Text(pDX, IDC_CONFIRM_OPTION_PLACE, m_strOptions[6]);
    afx::DDX_Control(pDX, IDC_CONFIRM_BACK_TO_TOP, m_btnBackToTop);
}

bool CPellgroveDialog_QuickConfirm::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    SetBackground(IDB_CONFIRM_BACKGROUND);
    const CDeviceSettings& record = m_pContext->settings;
    HWND self = m_hWnd;

    // The rows are laid out before the skin collects the labels it draws, so that the labels
    // of hidden rows are not drawn.
    const int labelX = 107, valueX = 257;
    PlaceControl(self, IDC_NAME_LABEL, labelX, 102, 120, 16);
    PlaceControl(self, IDC_NAME, valueX, 102, 140, 16);
    int y = 102;
    const bool comment = g_productConfig.Show_Comment != 0, workgroup = g_productConfig.Show_WorkGroup != 0;
    for (UINT id : {IDC_COMMENT_LABEL, IDC_COMMENT})
        ShowControl(self, id, comment);
    if (comment) {
        y = 118;
        PlaceControl(self, IDC_COMMENT_LABEL, labelX, y, 100, 18);
        PlaceControl(self, IDC_COMMENT, valueX, y, 200, 18);
    }
    for (UINT id : {IDC_WORKGROUP_LABEL, IDC_WORKGROUP})
        ShowControl(self, id, workgroup);
    if (workgroup) {
        y += 16;
        PlaceControl(self, IDC_WORKGROUP_LABEL, labelX, y, 120, 16);
        PlaceControl(self, IDC_WORKGROUP, valueX, y, 140, 16);
    }
    struct Row { UINT label; int labelWidth; UINT value; int valueWidth; };
    const Row rows[] = {{IDC_DHCP_LABEL, 100, IDC_DHCP_VALUE, 100},
                        {IDC_CONFIRM_IP_LABEL, 100, IDC_IP_VALUE, 100},
                        {IDC_CONFIRM_MASK_LABEL, 120, IDC_MASK_VALUE, 100},
                        {IDC_CONFIRM_GATEWAY_LABEL, 160, IDC_GATEWAY_VALUE, 100},
                        {IDC_CONFIRM_DNS_LABEL, 100, IDC_DNS_VALUE, 120}};
    y += 26;
    for (const Row& row : rows) {
        PlaceControl(self, row.label, labelX, y, row.labelWidth, 16);
        PlaceControl(self, row.value, valueX, y, row.valueWidth, 16);
        y += 16;
    }
    // The time rows stand in the right-hand column, beside the address block.
    PlaceControl(self, IDC_CONFIRM_NTP_LABEL, 400, 160, 95, 16);
    PlaceControl(self, IDC_CONFIRM_NTP, 500, 160, 85, 16);
    PlaceControl(self, IDC_CONFIRM_NTP_SERVER_LABEL, 400, 176, 185, 16);
    PlaceControl(self, IDC_CONFIRM_NTP_SERVER, 400, 192, 185, 16);
    ArrangeControls();
    ApplySkin();

    m_btnCompletion.SetBitmaps(IDB_COMPLETION, IDB_COMPLETION_SELECTED, IDB_COMPLETION_FOCUSED, IDB_COMPLETION_DISABLED);
    m_btnSetting.SetBitmaps(IDB_SETTING, IDB_SETTING_SELECTED, IDB_SETTING_FOCUSED, IDB_SETTING_DISABLED);
    m_btnBackToTop.SetBitmaps(IDB_BACK, IDB_BACK_SELECTED, IDB_BACK_FOCUSED, IDB_BACK_DISABLED);
    m_btnCompletion.MoveTo(445, 315, true);
    m_btnSetting.MoveTo(15, 315, true);
    m_btnBackToTop.MoveTo(260, 315, true);

    m_strComment = record.comment;
    m_nCommentScroll = int(m_strComment.size());
    if (m_nCommentScroll > kCommentVisibleChars)
        SetTimer(kCommentTimer, kCommentTickMs);

    ShowControl(self, IDC_CONFIRM_DOWNLOAD_FW, g_productConfig.Show_DownloadFW != 0);
    const bool shortcuts = g_productConfig.Show_ShortCut != 0;
    ShowControl(self, IDC_SHARE_SHORTCUT, shortcuts);
    ShowControl(self, IDC_SETTING_SHORTCUT, shortcuts);
    if (shortcuts) {
        PlaceControl(self, IDC_SHARE_SHORTCUT, 96, 247, 500, 18);
        PlaceControl(self, IDC_SETTING_SHORTCUT, 96, 266, 500, 18);
    }
    ShareShortcutChecked = shortcuts ? 1 : 0;
    SettingShortcutChecked = shortcuts ? 1 : 0;
    const bool manual = g_productConfig.Show_ManualCopy != 0;
    m_chkManualCopy.ShowWindow(manual ? SW_SHOW : SW_HIDE);
    if (manual)
        PlaceControl(self, IDC_MANUAL_COPY, 96, 285, 340, 18);
    m_chkManualCopy.SendMessage(BM_SETCHECK, manual ? BST_CHECKED : BST_UNCHECKED);

    m_strName = record.name;
    InitControls();

    if (m_pPageRect && (m_pPageRect->left || m_pPageRect->top || m_pPageRect->right || m_pPageRect->bottom))
        MoveWindow(m_pPageRect->left, m_pPageRect->top, m_pPageRect->right - m_pPageRect->left,
                   m_pPageRect->bottom - m_pPageRect->top, true);
    RecordMovesInto(m_pPageRect);
    return true;
}

// The rows were arranged before the skin took the labels: showing a label again now would
// have the system draw it over the page's own drawing.
void CPellgroveDialog_QuickConfirm::InitControls()
{
    ShowValues();
    UpdateData(false);
    InvalidateLabels();
}

void CPellgroveDialog_QuickConfirm::ArrangeControls()
{
    const bool ntp = g_productConfig.Show_NTP != 0;
    ShowControl(m_hWnd, IDC_CONFIRM_NTP_LABEL, ntp);
    ShowControl(m_hWnd, IDC_CONFIRM_NTP_SERVER_LABEL, ntp);
    for (UINT id : kOptionValues)
        EnableControl(m_hWnd, id, false);
    EnableControl(m_hWnd, IDC_CONFIRM_OPTION_CATEGORY, false);
    EnableControl(m_hWnd, IDC_CONFIRM_OPTION_PLACE, false);
    EnableControl(m_hWnd, IDC_CONFIRM_DOWNLOAD_FW, false);
    for (UINT id : kOptionLabels)
        ShowControl(m_hWnd, id, false);
}

void CPellgroveDialog_QuickConfirm::ShowValues()
{
    const CDeviceSettings& record = m_pContext->settings;
    m_strName = record.name;
    if (g_productConfig.Show_Comment)
        m_strComment = record.comment;
    if (g_productConfig.Show_WorkGroup)
        m_strWorkgroup = record.workgroup;
    if (g_productConfig.Show_NTP) {
        m_strNtp = record.ntp;
        m_strNtpServer = record.ntpserver;
    }
    if (record.dhcp == L"on") {
        m_strDhcp = afx::LoadStr(IDS_DHCP_USE);
        m_strIp.clear();
        m_strMask.clear();
        m_strGateway.clear();
        m_strDns.clear();
    } else {
        m_strDhcp = afx::LoadStr(IDS_DHCP_DO_NOT_USE);
        m_strIp = record.ip;
        m_strMask = record.netmask;
        m_strGateway = record.gateway;
        m_strDns = record.nameserver;
    }
}

void CPellgroveDialog_QuickConfirm::OnClickedBackToTop() { EndDialog(kPageBackToMenu); }

void CPellgroveDialog_QuickConfirm::OnTimer(UINT_PTR id)
{
    if (id == kCommentTimer) {
        if (m_nCommentScroll >= 1) {
            m_strComment.erase(0, 1);
            SetDlgItemText(IDC_COMMENT, m_strComment);
            --m_nCommentScroll;
        } else {
            m_strComment = m_pContext->settings.comment;
            SetDlgItemText(IDC_COMMENT, m_strComment);
            KillTimer(kCommentTimer);
        }
        // The comment is a label the page draws itself.
        InvalidateLabels();
    }
    Default();
}
