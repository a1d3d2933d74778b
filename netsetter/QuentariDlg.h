// The network setter's main dialog: device list, Refresh and Close, the worker threads' owner.
#pragma once
#include "afx/Dialog.h"
#include "afx/Gdi.h"
#include "afx/MessageMap.h"
#include "afx/Static.h"
#include "finderlib/TavikPacket.h"
#include "devicelist/ListCtrlEx.h"
#include "netsetter/DeviceRequests.h"
#include "netsetter/DeviceSettingDlg.h"
#include "netsetter/DeviceTable.h"
#include "netsetter/HoverButton.h"
#include "netsetter/LoginPasswordDlg.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariState.h"
#include <atomic>

// Pictures and icons of the device list's variant in this program.
extern const ListCtrlExResources kQuentariListResources;

class CRcvThread;
class CSndThread;

class CQuentariDlg : public afx::CDialog, public CListCtrlExOwner, public CDeviceSettingOwner,
                     public CHoverButtonOwner {
public:
    CQuentariDlg();
    ~CQuentariDlg() override;

    // Worker threads of one operation (the dialog alone creates and deletes them).
    bool StartReceiveThread();
    void StartSendThread();
    // Receiver bound and running, sender ready: FALSE when either could not start.
    bool StartThreads();
    void StopReceiveThread();
    void StopSendThread();
    void StopThreads();
    // Hands a request to the sender; false when no sender runs.
    bool SendRequest(const DeviceRequestPacket& packet);
    // The wait cursor, then string `id` in the status line.
    void SetStatusText(UINT id);

    bool IsBusy() const override { return m_bBusy != 0; }
    // What the device list and the picture buttons ask.
    bool IsListBusy() const override { return m_bBusy != 0; }
    bool ButtonsWait() const override
    {
        return m_bBusy && (g_nPendingOperation == kPendingSearch || g_nPendingOperation == kPendingSetup);
    }
    bool IsStorageDevice(int row) const override { return m_devices.IsStorageDevice(row); }
    // Op 4 for the selected device; the setting dialog's Cancel.
    void SendLogoffRequest() override;
    CRcvThread* m_pRcvThread = nullptr;
    CSndThread* m_pSndThread = nullptr;
    // Set while an operation runs; the timer drives it.
    std::atomic<int> m_bBusy{0};
    // Auto-reset; the sender signals it when its loop starts.
    HANDLE m_hReadyEvent = nullptr;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { OnCloseButton(); }
    bool PreTranslateMessage(MSG& msg) override;
    DECLARE_MESSAGE_MAP()

    // A second copy's request: show the window normally and bring it to the front.
    LRESULT OnShowWindowRequest(WPARAM, LPARAM);

    void OnPaint();
    HCURSOR OnQueryDragIcon() { return m_hIcon; }
    void OnRefresh();
    void OnCloseButton();
    void OnClose();
    void OnTimer(UINT_PTR id);
    LRESULT OnClearCellMarks(WPARAM, LPARAM);
    LRESULT OnSetupResult(WPARAM, LPARAM);
    LRESULT OnLoginResult(WPARAM, LPARAM);
    LRESULT OnWebCellPressed(WPARAM, LPARAM);
    LRESULT OnSettingCellPressed(WPARAM, LPARAM);
    LRESULT OnSettingClick(WPARAM, LPARAM);
    LRESULT OnOpenWebPage(WPARAM, LPARAM);
    LRESULT OnStartSearch(WPARAM, LPARAM) { OnRefresh(); return 0; }
    LRESULT OnSearchDone(WPARAM, LPARAM);
    LRESULT OnDeviceReply(WPARAM, LPARAM);
    LRESULT OnCloseRequest(WPARAM, LPARAM) { OnCloseButton(); return 0; }
    LRESULT OnVersion(WPARAM, LPARAM);
    LRESULT OnSendError(WPARAM, LPARAM);
    LRESULT OnAdvancedDataReply(WPARAM, LPARAM);
    LRESULT OnLoginContinue(WPARAM, LPARAM);
    LRESULT OnModesDone(WPARAM, LPARAM);
    LRESULT OnClockSet(WPARAM, LPARAM);
    LRESULT OnClockTimeout(WPARAM, LPARAM);

    // Window start, the parts of the frame.
    void LayoutButtons();
    void LayoutPicture();
    void CreateDeviceList();
    // Fills the list from the device table (the search side provides it).
    void FillDeviceList();

    // Search, logon, setup and clock side.
    void ClearDeviceBuckets();
    int CountDevices() const { return m_devices.CountDevices(); }
    void SelectRow(int row);
    void CheckAddressConflicts(int row);
    int FindPcAddress(int row);
    void SendLogonRequest(const DeviceTableEntry& entry);
    int SendQueryAdvancedData(uint16_t subKind, uint8_t flag, const DeviceTableEntry& entry);
    void SendSetupRequest(int row, const DeviceTableEntry& entry, const std::wstring& name,
                          const std::wstring& workgroup);
    void SendSetAdvancedData(int row, DeviceTimeRecord& time, const DeviceTableEntry& entry);
    // The check every continuation of the logon flow starts with; true when it may go on.
    // recopy takes the row's entry afresh as the working copy.
    bool LogonAnswered(bool stopThreads, bool recopy = true);
    void Caution(UINT textId, UINT captionId, UINT icon = MB_ICONEXCLAMATION);
    uint32_t NextSequence();
    std::string PasswordBytes() const;
    void TimerStep();

    CDeviceModel m_devices;
    CListCtrlEx m_list;
    CLoginPasswordDlg m_loginDlg;
    HIMAGELIST m_hImages = nullptr;
    int m_nTick = 0;
    int m_nSearchLimit = 10, m_nSetupLimit = 30, m_nLogonLimit = 10, m_nQueryLimit = 6;
    bool m_bSearchRestart = false;
    uint8_t m_abSelectedMac[6] = {};
    int m_nClickedRow = -1;
    uint16_t m_nOpFlags = 0, m_nFlagsCopy = 0, m_nSettingFlags = 0;
    bool m_bLogonAnswer = false;
    uint8_t m_nLogonResult = 0;
    uint8_t m_abToken[16] = {};
    bool m_bSetupAnswer = false;
    uint8_t m_nSetupStatus = 255;
    bool m_bReflectWait = false, m_bQueryDone = false, m_bModesReceived = false, m_bTimeReceived = false;
    bool m_bModesAnswer = false;
    DeviceTableEntry m_selected = {};
    std::wstring m_strDeviceName, m_strWorkgroup;
    std::wstring m_strPcAddress, m_strPcMask, m_strPcGateway;
    AdvancedModesRecord m_modes = {};
    DeviceTimeRecord m_time = {};

    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    CHoverButton m_btnRefresh;
    CHoverButton m_btnClose;
    afx::CStatic m_picture;
    afx::CBitmap m_bmpCaption;
    bool m_bInVersion = false;
    HHOOK m_hVersionHook = nullptr;  // Alt+V in the loops of modal dialogs and message boxes
};
