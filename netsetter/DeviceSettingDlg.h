// Modal dialog in which the user sets a device's address mode, addresses, name, workgroup and clock.
#pragma once
#include <cstdint>
#include <string>
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "netsetter/DeviceRequests.h"
#include "netsetter/DeviceTable.h"
#include "netsetter/HoverButton.h"
#include "netsetter/TransparentStatic.h"

// What the dialog asks of the main dialog.
class CDeviceSettingOwner {
public:
    virtual ~CDeviceSettingOwner() = default;
    virtual void SendLogoffRequest() = 0;
    virtual bool IsBusy() const = 0;
};

class CDeviceSettingDlg : public afx::CDialog {
public:
    CDeviceSettingDlg(UINT templateId, CDeviceSettingOwner* owner);
    ~CDeviceSettingDlg() override;

    // Set-up before DoModal, in this order.
    void SetDevice(const DeviceTableEntry& entry, DeviceTableEntry* working);
    void SetPcAddresses(const std::wstring& address, const std::wstring& mask, const std::wstring& gateway);
    void ShowDeviceTime(DeviceTimeRecord* record);

    // Read by the owner after IDOK.
    std::wstring m_strDeviceName, m_strWorkgroup;

    // The owner's PC address text, used by the interface list and the conflict check.
    std::wstring m_strOwnerPcAddress;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool PreTranslateMessage(MSG& msg) override;
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return m_hIcon; }
    void OnSelchangeInterface();
    void OnUseDhcp();
    void OnUseStatic();
    void OnClear();
    LRESULT OnAddressError(WPARAM, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FillAdapterList();
    void LayoutButtons();
    void InitControls();
    void ShowPcAddresses();
    void RestoreAddresses();
    void EnableAddressControls(bool address, bool gateway);
    void Message(UINT textId, UINT captionId = 0, UINT icon = MB_OK);
    int Kind() const { return m_pWorking ? m_pWorking->kind : 0; }

    CDeviceSettingOwner* m_pOwner;
    CHoverButton m_btnClear, m_btnOK, m_btnCancel;
    CTransparentStatic m_picture;
    afx::CWnd m_combo;
    HICON m_hIcon = nullptr;
    HBITMAP m_hPicture = nullptr;

    std::wstring m_strStartName, m_strStartWorkgroup;
    std::wstring m_strDeviceTime;
    int m_nSetClock = 0;
    bool m_bClockRequested = false;
    int m_nMode = 0, m_nStartMode = 0;
    uint16_t m_address[4] = {}, m_mask[4] = {}, m_gateway[4] = {};
    uint16_t m_startAddress[4] = {}, m_startMask[4] = {}, m_startGateway[4] = {};
    DeviceTableEntry* m_pWorking = nullptr;
    DeviceTimeRecord* m_pTime = nullptr;
    std::wstring m_pcParts[12];
    bool m_bAddressMessage = false;
    std::wstring m_strAddressMessage;
};
