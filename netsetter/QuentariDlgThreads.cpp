// The main dialog's worker threads: started before an operation, stopped and deleted after it.
#include "netsetter/QuentariDlg.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/RcvThread.h"
#include "netsetter/SndThread.h"
#include <cwchar>

namespace {
// How long the sender may take to open its socket and look up the host before it counts as failed.
constexpr DWORD kSenderStartMs = 10000;
}

bool CQuentariDlg::StartReceiveThread()
{
    auto* t = new CRcvThread;
    if (!t->CreateThread(true)) {
        delete t;
        afx::MessageBoxRes(IDS_INIT_FAILED, IDS_TITLE, MB_OK | MB_ICONEXCLAMATION, m_hWnd);
        PostMessage(WM_QT_CLOSE_REQUEST);
        return false;
    }
    m_pRcvThread = t;
    t->SetDialog(this);
    int error = t->OpenSocket();
    if (error == 0) {
        t->ResumeThread();
        return true;
    }
    StopReceiveThread();
    std::wstring text = afx::LoadStr(UINT(error));
    if (error == IDS_PORT_USED) {
        wchar_t buf[256];
        std::swprintf(buf, 256, text.c_str(), int(kDevicePort));
        text = buf;
    }
    ::MessageBoxW(m_hWnd, text.c_str(), afx::LoadStr(IDS_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
    PostMessage(WM_QT_CLOSE_REQUEST);
    return false;
}

void CQuentariDlg::StartSendThread()
{
    auto* t = new CSndThread;
    if (!t->CreateThread(true)) {
        delete t;
        return;
    }
    m_pSndThread = t;
    t->SetDialog(this);
    t->SetReadyEvent(m_hReadyEvent);
    t->ResumeThread();
}

bool CQuentariDlg::StartThreads()
{
    if (!StartReceiveThread())
        return false;
    StartSendThread();
    // The sender signals once its loop runs; a sender whose start-up failed has ended instead.
    bool ready = false;
    if (m_pSndThread) {
        HANDLE waits[2] = {m_hReadyEvent, m_pSndThread->m_hThread};
        ready = WaitForMultipleObjects(2, waits, FALSE, kSenderStartMs) == WAIT_OBJECT_0;
    }
    if (!ready) {
        StopThreads();
        SetStatusText(IDS_INIT_FAILED);
        afx::MessageBoxRes(IDS_INIT_FAILED, IDS_TITLE, MB_OK | MB_ICONEXCLAMATION, m_hWnd);
        return false;
    }
    Sleep(1000);
    return true;
}

void CQuentariDlg::StopReceiveThread()
{
    if (!m_pRcvThread)
        return;
    m_pRcvThread->Stop();
    delete m_pRcvThread;
    m_pRcvThread = nullptr;
}

void CQuentariDlg::StopSendThread()
{
    if (!m_pSndThread)
        return;
    m_pSndThread->Stop();
    delete m_pSndThread;
    m_pSndThread = nullptr;
    ResetEvent(m_hReadyEvent);
}

void CQuentariDlg::StopThreads()
{
    StopReceiveThread();
    StopSendThread();
}

bool CQuentariDlg::SendRequest(const DeviceRequestPacket& packet)
{
    return m_pSndThread && m_pSndThread->Send(packet);
}

LRESULT CQuentariDlg::OnSendError(WPARAM error, LPARAM)
{
    m_bBusy = 0;
    SetStatusText(UINT(error));
    if (HWND refresh = GetDlgItem(IDC_REFRESH))
        ::EnableWindow(refresh, TRUE);
    FillDeviceList();
    // Lets the sender go on before the box waits for the user.
    ReplyMessage(0);
    afx::MessageBoxRes(UINT(error), IDS_TITLE, MB_OK | MB_ICONEXCLAMATION, m_hWnd);
    return 0;
}
