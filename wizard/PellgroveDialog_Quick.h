// The settings page: device name, comment, workgroup, address, time server and, in USB-stick
// mode, the device options; its OK checks every value and stores it into the record.
#pragma once
#include "afx/Button.h"
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "afx/MessageMap.h"
#include "wizard/PageControls.h"
#include <string>

class CDeviceSettings;

class CPellgroveDialog_Quick : public CPellgroveDialog {
public:
    // pageRect: where the page opens and where it records its moves.
    CPellgroveDialog_Quick(HWND parent, RECT* pageRect);

    // The stored value of each power-saving entry, in list order.
    static const wchar_t* const kPowerSavingValues[7];

    afx::CButton m_chkChangeName;
    afx::CWnd m_cmbPowerSaving;
    CPellgroveButton m_btnOK;
    CPellgroveButton m_btnCancel;
    CIpAddressCtrl m_ipMask;
    CIpAddressCtrl m_ipDns;
    CIpAddressCtrl m_ipAddress;
    CIpAddressCtrl m_ipGateway;
    std::wstring m_strName;
    std::wstring m_strComment;
    std::wstring m_strWorkgroup;
    std::wstring m_strTimeServer;
    int m_nAutoUpdate = -1;
    int m_nLed = -1;
    int m_nNtp = -1;
    int m_nShare = -1;
    int m_nCategory = -1;
    int m_nPlace = -1;
    int m_nRowTop = 0;
    int m_bDeleteReservation = 0;

    // The two store routines of OK: 1 when every value passed and was stored; after a
    // refusal the record is as it was.
    int StoreSettings(const std::wstring& caption);
    int StoreSettingsUsb(const std::wstring& caption);

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    virtual void UpdateTimeServerState();

    void EnableAddressFields(int enable);
    void OnClickedDhcp();
    void OnClickedStatic();
    void OnClickedNtp();
    void OnClickedChangeName();
    void ArrangeControls();
    void InitControls();
    void FillAddressControls();
    void FillChoices();
    void FillAddressBlock();
    void BuildPowerSavingList();

    // Store helpers: a text field checked by validator (with the empty test when required);
    // false after the field's message and the reason.
    bool CheckField(int code, bool required, bool empty, UINT fieldMessage, const std::wstring& caption);
    // The address block of both modes into record: dhcp, ip, netmask, gateway, nameserver.
    bool StoreAddresses(const std::wstring& caption, CDeviceSettings& record);

    RECT* m_pPageRect;

    DECLARE_MESSAGE_MAP()
};
