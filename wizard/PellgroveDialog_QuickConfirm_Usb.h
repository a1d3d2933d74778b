// The USB-stick confirmation page: the settings that go onto the stick in words, the firmware
// download onto the stick, and the completion of USB-stick mode.
#pragma once
#include "afx/Button.h"
#include "afx/MessageMap.h"
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include <string>

class CPellgroveDialog_QuickConfirm_Usb : public CPellgroveDialog {
public:
    // pageRect: where the page opens and where it records its moves.
    CPellgroveDialog_QuickConfirm_Usb(HWND parent, RECT* pageRect);

    afx::CButton m_chkManualCopy;  // shown for information only
    CPellgroveButton m_btnCompletion;
    CPellgroveButton m_btnSetting;
    int m_bShareShortcut = 0;  // shown for information only, never the process-wide flags
    int m_bSettingShortcut = 0;
    std::wstring m_strName;
    std::wstring m_strComment;
    std::wstring m_strWorkgroup;
    std::wstring m_strDhcp;
    std::wstring m_strGateway;
    std::wstring m_strIp;
    std::wstring m_strDns;
    std::wstring m_strMask;
    std::wstring m_strAutoUpdate;
    std::wstring m_strLed;
    std::wstring m_strDeleteReservation;
    std::wstring m_strFolderPublication;
    std::wstring m_strPowerSaving;
    std::wstring m_strNtp;
    std::wstring m_strNtpServer;
    std::wstring m_strCategory;
    std::wstring m_strPlace;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // The completion of USB-stick mode: guide files, then the firmware when asked.
    void OnOK() override;
    void InitControls();
    void ArrangeControls();
    void ShowValues();
    // Ticking the firmware check turns the automatic update on and writes the settings file.
    void OnClickedDownloadFirmware();
    void OnClickedSetting();

    RECT* m_pPageRect;

    DECLARE_MESSAGE_MAP()
};
