// The receiver: waits on UDP port 65 and hands the answers to the current request to the dialog.
#include "netsetter/RcvThread.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/QuentariState.h"
#include <cstring>

CRcvThread::~CRcvThread()
{
    CloseSocket();
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

UINT CRcvThread::ClassifyReply(const uint8_t* data, int length, uint32_t sequence, int pending,
                               const uint8_t pcMac[6])
{
    // A short datagram would leave the previous reply's bytes in the buffer's tail.
    if (length < int(kPacketSize) || length > int(kReceiveBufferSize))
        return 0;
    const auto* p = reinterpret_cast<const DeviceRequestPacket*>(data);
    uint32_t id = uint32_t(p->transactionId[0]) << 24 | uint32_t(p->transactionId[1]) << 16 |
                  uint32_t(p->transactionId[2]) << 8 | p->transactionId[3];
    if (id != sequence)
        return 0;
    switch (p->operation) {
    case kOpAnswerKind1: case kOpAnswerKind2: case kOpAnswerKind3: case kOpAnswerKind4:
        if (pending == kPendingQuery || pending == kPendingSetClock)
            return 0;
        return std::memcmp(p->pcMac, pcMac, 6) == 0 ? UINT(WM_QT_DEVICE_REPLY) : 0u;
    case kOpAdvancedAnswer:
        return WM_QT_ADVANCED_DATA_REPLY;
    default:
        return 0;
    }
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
            // An oversized datagram or a passing error; a socket closed under us ends the loop.
            if (WSAGetLastError() == WSAENOTSOCK || m_socket == INVALID_SOCKET)
                break;
            continue;
        }
        UINT msg = ClassifyReply(m_abReply, n, TheApp().m_nSndSeq, g_nPendingOperation, g_abPcMac);
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
        CloseSocket();
        ResumeThread();  // one stopped before it ever ran
        JoinOrTerminate(kStopMs);
    }
    CloseSocket();
}
