// The finder's hidden main dialog: ping, search thread, buckets, device list, match and open.
#pragma once
#include "afx/Dialog.h"
#include "afx/Gdi.h"
#include "afx/Handle.h"
#include "afx/MessageMap.h"
#include "afx/WorkerThread.h"
#include "devicelist/ListCtrlEx.h"
#include "finder/DeviceTable.h"
#include "finder/TavikLoader.h"
#include <atomic>
#include <string>

class CZevseekerDlg;
class ZevMsgBox;

// Polls GetZevList while the dialog asks for a search; hands the table over by messages.
class CRcvThread {
public:
    CRcvThread(CZevseekerDlg* dlg, const CTavikLoader& tavik) : m_pDlg(dlg), m_tavik(tavik) {}
    bool Start();
    // Asks the thread to end and waits, serving the table it may be sending meanwhile.
    void Stop();
    std::atomic<bool> m_bPoll{false};

private:
    unsigned Run();
    CZevseekerDlg* m_pDlg;
    const CTavikLoader& m_tavik;
    afx::CWorkerThread m_thread;
};

class CZevseekerDlg : public afx::CDialog, public CListCtrlExOwner {
public:
    enum : UINT {
        kMsgStartSearch = 0x386,
        kMsgSearchDone = 0x387,
        kMsgRecords = 0x388,
        kMsgShowDialog = 0x8001,
    };

    CZevseekerDlg(int mode, const char* target, const CTavikLoader& tavik);
    ~CZevseekerDlg() override;

    // Stops the search thread and ends the dialog with code 2 (Close, Stop, closing the window).
    void StopAndEnd();

    bool IsListBusy() const override { return m_bBusy; }

    std::atomic<bool> m_bRecordsArrived{false};

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { StopAndEnd(); }
    bool PreTranslateMessage(MSG& msg) override;
    LRESULT OnStartSearch(WPARAM, LPARAM);
    LRESULT OnRecords(WPARAM, LPARAM);
    LRESULT OnSearchDone(WPARAM, LPARAM);
    LRESULT OnShowDialog(WPARAM, LPARAM);
    LRESULT OnBoxStop(WPARAM, LPARAM) { StopAndEnd(); return 0; }
    LRESULT OnBoxGone(WPARAM, LPARAM box);
    void OnRefresh() { OnStartSearch(0, 0); }
    void OnClose() { StopAndEnd(); }
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    void SetupList();
    void StopThread();
    void FillAndMatch();
    void NotAccessible();
    void EndWith(INT_PTR code);
    void SetStatus(UINT id);

    const CTavikLoader& m_tavik;
    int m_nMode;
    std::string m_strTarget;
    DeviceBuckets m_buckets;
    CRcvThread* m_pThread = nullptr;
    ZevMsgBox* m_pMsgBox = nullptr;
    CListCtrlEx m_list;
    afx::CBitmap m_caption;
    afx::CIcon m_iconBig, m_iconSmall;
    afx::CImageList m_images;
    bool m_bBusy = false;
    int m_nTick = 0;
    char m_szMatchAddress[128] = {};
    uint32_t m_nMatchAddress = 0;
};
