// The firmware download dialog of USB-stick mode: fetches the configured firmware files onto
// the stick's root folder on a worker thread, with an animation, a status line and progress.
#pragma once
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "afx/ProgressCtrl.h"
#include "afx/WorkerThread.h"
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CFwDownload : public afx::CDialog {
public:
    explicit CFwDownload(HWND parent);
    ~CFwDownload() override;

    // The worker thread's entry; the parameter is the dialog.
    static unsigned ThreadProc(void* param);

    // Downloads one file into localPath, or, when that is null, into the root of the
    // program's drive under the last segment of the URL's path. 0 on success, otherwise the
    // error of the refused overwrite or -1. A failed or refused download leaves an existing
    // file as it was.
    virtual int DownloadFile(const wchar_t* url, const wchar_t* localPath);
    // Runs on the worker: every pair of the list; 0 when all succeeded and nobody cancelled.
    virtual unsigned DownloadAll();

    // Fw_Url1, Fw_Xml1, ... Fw_Xml10 (taken from the product configuration at construction).
    std::vector<std::wstring> m_list;
    // Drive of the program's folder ("X:"), where the files land; empty when that folder has
    // no drive letter, and then every download is refused with string 50.
    std::wstring m_drive;

    afx::CWnd m_animate;
    afx::CProgressCtrl m_progress;
    std::atomic<DWORD> m_dwReceived{0};
    std::atomic<DWORD> m_dwTotal{0};
    UINT_PTR m_nTimer = 0;
    HANDLE m_hThread = nullptr;
    std::atomic<LONG> m_bCancel{0};
    std::unique_ptr<afx::CWorkerThread> m_pThread;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // The worker never waits on this thread: it leaves the status text here and asks its
    // question by posted messages, so the dialog can always wait for it.
    void SetStatus(const std::wstring& text);
    bool AskOverwrite(const std::wstring& path);
    void ShowError(DWORD error);
    LRESULT OnStatusChanged(WPARAM, LPARAM);
    LRESULT OnAskOverwrite(WPARAM, LPARAM);

    std::mutex m_lock;
    std::wstring m_status;
    std::wstring m_askPath;
    HANDLE m_askAnswered;
    std::atomic<int> m_askAnswer{IDNO};
};
