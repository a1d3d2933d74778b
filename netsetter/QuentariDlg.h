// The network setter's main dialog: device list, Refresh and Close, the worker threads' owner.
#pragma once
#include "afx/Dialog.h"
#include "afx/Gdi.h"
#include "afx/MessageMap.h"
#include "afx/Static.h"
#include "finderlib/TavikPacket.h"
#include "netsetter/HoverButton.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariState.h"
#include <atomic>

class CRcvThread;
class CSndThread;

class CQuentariDlg : public afx::CDialog {
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

    bool IsBusy() const { return m_bBusy != 0; }
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

    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    CHoverButton m_btnRefresh;
    CHoverButton m_btnClose;
    afx::CStatic m_picture;
    afx::CBitmap m_bmpCaption;
    bool m_bInVersion = false;
};
