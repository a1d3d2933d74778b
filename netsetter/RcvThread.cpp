// The receiver: waits on UDP port 65 and hands the answers to the current request to the dialog.
#include "netsetter/RcvThread.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/QuentariState.h"
#include "netsetter/ReplyFilter.h"
#include <cstring>

CRcvThread::~CRcvThread()
{
    CloseSocket();
    if (m_hWake)
        CloseHandle(m_hWake);
}

int CRcvThread::OpenSocket()
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET)
        return IDS_NO_UDP_SOCKET;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(kDevicePort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof(local)) == SOCKET_ERROR) {
        closesocket(s);
        return IDS_PORT_USED;
    }
    m_socket = s;
    return 0;
}

void CRcvThread::CloseSocket()
{
    SOCKET s = m_socket.exchange(INVALID_SOCKET);
    if (s != INVALID_SOCKET)
        closesocket(s);
}

int CRcvThread::Run()
{
    if (!m_pDialog)
        return -1;
    HWND dialog = m_pDialog->m_hWnd;
    while (!m_bStop) {
        SOCKET s = m_socket;
        if (s == INVALID_SOCKET)
            break;
        sockaddr_in from = {};
        int fromLen = sizeof(from);
        int n = recvfrom(s, reinterpret_cast<char*>(m_abReply), sizeof(m_abReply), 0,
                         reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (m_bStop)
            break;
        if (n == SOCKET_ERROR) {
            // A socket closed under us ends the loop. An oversized datagram is one datagram
            // ignored; any other failure is tried again a little later, so a passing one (a port
            // unreachable) costs a moment and a lasting one (the network down) no busy loop.
            int error = WSAGetLastError();
            if (error == WSAENOTSOCK || m_socket == INVALID_SOCKET)
                break;
            if (error != WSAEMSGSIZE && WaitForSingleObject(m_hWake, kRetryMs) == WAIT_FAILED)
                Sleep(kRetryMs);
            continue;
        }
        ReplyKind kind = ClassifyReply(m_abReply, size_t(n), TheApp().m_nSndSeq, g_nPendingOperation, g_abPcMac);
        UINT msg = kind == ReplyKind::Device ? UINT(WM_QT_DEVICE_REPLY)
                 : kind == ReplyKind::AdvancedData ? UINT(WM_QT_ADVANCED_DATA_REPLY) : 0u;
        if (msg)
            SendMessageW(dialog, msg, 0, reinterpret_cast<LPARAM>(m_abReply));
    }
    return 0;
}

int CRcvThread::ExitInstance()
{
    CloseSocket();
    return afx::CWinThread::ExitInstance();
}

void CRcvThread::Stop()
{
    m_bStop = 1;
    if (GetExitCode() == STILL_ACTIVE) {
        m_bStop = 1;
        SetEvent(m_hWake);
        CloseSocket();
        ResumeThread();  // one stopped before it ever ran
        JoinOrTerminate(kStopMs);
    }
    CloseSocket();
}
