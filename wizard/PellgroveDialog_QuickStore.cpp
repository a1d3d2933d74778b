// The settings page's OK: every value checked in order and stored into the record.
#include "wizard/PellgroveDialog_Quick.h"
#include "afx/ResourceLanguage.h"
#include "wizard/DeviceSettings.h"
#include "wizard/FieldValidation.h"
#include "wizard/PellgroveApp.h"
#include "wizard/QuickSetupContext.h"
#include "wizard/QuickSetupFlow.h"
#include "resources/pellgrove/resource.h"

void CPellgroveDialog_Quick::OnOK()
{
    std::wstring caption = afx::LoadStr(IDS_ERROR);
    if (!UpdateData(true))
        return;
    int stored = g_productConfig.UsbMode ? StoreSettingsUsb(caption) : StoreSettings(caption);
    if (stored)
        EndDialog(kPageCompleted);
}

bool CPellgroveDialog_Quick::CheckField(int code, bool required, bool empty, UINT fieldMessage,
                                        const std::wstring& caption)
{
    if (required && empty)
        code += kFieldBadLength;
    if (code == kFieldValid)
        return true;
    for (UINT id : {fieldMessage, FieldCheckMessage(code)}) {
        std::wstring text = afx::LoadStr(id);
        ::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_OK);
    }
    return false;
}

namespace {

// An address control, the messages of a blank and of a broadcast address (0: allowed), and
// the record field it fills.
struct AddressCheck {
    CIpAddressCtrl* control;
    UINT missingMessage;    // 0: the field may stay blank
    UINT broadcastMessage;  // 0: no broadcast test
    std::wstring* field;
};

bool HasAddress(int fields, uint32_t address) { return fields == 4 && address != 0; }

}  // namespace

bool CPellgroveDialog_Quick::StoreAddresses(const std::wstring& caption, CDeviceSettings& record)
{
    if (IsDlgButtonChecked(m_hWnd, IDC_DHCP_AUTO) == BST_CHECKED) {
        record.dhcp = L"on";
        record.ip.clear();
        record.netmask.clear();
        record.gateway.clear();
        record.nameserver.clear();
        return true;
    }
    record.dhcp = L"off";
    const AddressCheck checks[] = {
        {&m_ipAddress, IDS_ENTER_IP, IDS_IP_BROADCAST, &record.ip},
        {&m_ipMask, IDS_ENTER_MASK, 0, &record.netmask},
        {&m_ipGateway, 0, IDS_GATEWAY_BROADCAST, &record.gateway},
        {&m_ipDns, 0, IDS_DNS_BROADCAST, &record.nameserver},
    };
    for (const AddressCheck& check : checks) {
        uint32_t address = 0;
        int fields = check.control->GetAddress(address);
        UINT problem = 0;
        if (!HasAddress(fields, address))
            problem = check.missingMessage;
        else if (check.broadcastMessage && (address & 0xFF) == 0xFF)
            problem = check.broadcastMessage;
        if (problem) {
            std::wstring text = afx::LoadStr(problem);
            ::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_OK);
            return false;
        }
        *check.field = HasAddress(fields, address) ? FormatIPv4(address) : std::wstring();
    }
    return true;
}

// Both stores fill a copy of the record, which replaces the record only once every value has
// passed: a refused OK leaves the record exactly as it was.
int CPellgroveDialog_Quick::StoreSettings(const std::wstring& caption)
{
    CDeviceSettings record = m_pContext->settings;
    const ProductConfig& config = g_productConfig;
    if (!CheckField(ValidateDeviceName(m_strName), true, m_strName.empty(), IDS_NAME_ILLEGAL, caption))
        return 0;
    record.name = m_strName;
    if (config.Show_NTP) {
        if (!CheckField(ValidateServerChars(m_strTimeServer), false, false, IDS_NTP_SERVER_ILLEGAL, caption))
            return 0;
        record.ntpserver = m_strTimeServer;
    }
    if (config.Show_Comment) {
        if (!CheckField(ValidateCommentChars(m_strComment), true, m_strComment.empty(), IDS_COMMENT_ILLEGAL, caption))
            return 0;
        record.comment = m_strComment;
    }
    if (config.Show_WorkGroup) {
        int code = std::wstring(config.Model) == L"QMX-T" ? ValidateHostChars(m_strWorkgroup)
                                                          : ValidateWorkgroupChars(m_strWorkgroup);
        if (!CheckField(code, true, m_strWorkgroup.empty(), IDS_WORKGROUP_ILLEGAL, caption))
            return 0;
        record.workgroup = m_strWorkgroup;
    }
    if (config.Show_NTP) {
        record.ntp = m_nNtp == 0 ? L"on" : L"off";
        record.ntpserver = m_strTimeServer;
    }
    if (!StoreAddresses(caption, record))
        return 0;
    m_pContext->settings = record;
    return 1;
}

int CPellgroveDialog_Quick::StoreSettingsUsb(const std::wstring& caption)
{
    CDeviceSettings record = m_pContext->settings;
    const ProductConfig& config = g_productConfig;
    if (!CheckField(ValidateDeviceName(m_strName), false, false, IDS_NAME_ILLEGAL, caption))
        return 0;
    record.name = m_strName;
    if (config.Show_NTP) {
        if (!CheckField(ValidateServerChars(m_strTimeServer), false, false, IDS_NTP_SERVER_ILLEGAL, caption))
            return 0;
        record.ntpserver = m_strTimeServer;
    }
    if (!StoreAddresses(caption, record))
        return 0;
    if (config.Show_NTP) {
        record.ntp = m_nNtp == 0 ? L"on" : L"off";
        record.ntpserver = m_strTimeServer;
    }
    if (config.Show_DetailSetting) {
        record.autoupdate = m_nAutoUpdate == 0 ? L"on" : L"off";
        record.resrecdel = m_bDeleteReservation ? L"on" : L"off";
        record.share = m_nShare == 0 ? L"on" : L"off";
        if (config.Show_Category)
            record.category = m_nCategory == 0 ? L"japanese" : L"english";
        if (config.Show_RecDirection)
            record.recpreserve = m_nPlace == 0 ? L"hdd" : L"cartridge";
        record.led = m_nLed == 1 ? L"1" : m_nLed == 2 ? L"0" : L"3";
        LRESULT power = m_cmbPowerSaving.SendMessage(CB_GETCURSEL);
        record.spindown = power >= 1 && power <= 6 ? kPowerSavingValues[power] : L"off";
    }
    m_pContext->settings = record;
    return 1;
}
