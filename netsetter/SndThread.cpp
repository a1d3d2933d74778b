// The sender: broadcasts the request the dialog hands it three times, 250 ms apart, on port 65.
#include "netsetter/SndThread.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/QuentariMsg.h"
#include <cstring>

CSndThread::~CSndThread()
{
    CloseSocket();
    for (HANDLE h : {m_hSendEvent, m_hSent})
        if (h)
            CloseHandle(h);
}

bool CSndThread::InitInstance()
{
    m_hSendEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_hSent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_hSendEvent || !m_hSent)
        return false;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET)
        return false;
    m_socket = s;
    BOOL on = TRUE;
    if (setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof(on)) == SOCKET_ERROR)
        return false;
    char host[64] = {};
    if (gethostname(host, sizeof(host)) == SOCKET_ERROR || !gethostbyname(host))
        return false;
    TheApp().m_hostAddresses.Refresh();
    m_destination.sin_family = AF_INET;
    m_destination.sin_port = htons(kDevicePort);
    m_destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    return true;
}

bool CSndThread::Send(const DeviceRequestPacket& packet)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_hSent)
        ResetEvent(m_hSent);
    std::memcpy(&m_packet, &packet, sizeof(m_packet));
    m_bPending = true;
    if (m_hSendEvent)
        SetEvent(m_hSendEvent);
    return true;
}

bool CSndThread::WaitSent(DWORD ms)
{
    if (!m_hSent)
        return false;
    // The thread may send its error report to the dialog meanwhile: serve that, nothing else.
    HANDLE waits[2] = {m_hSent, m_hThread};
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD r = MsgWaitForMultipleObjects(2, waits, FALSE, elapsed >= ms ? 0 : ms - elapsed, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 2)
            return r == WAIT_OBJECT_0;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

int CSndThread::Run()
{
    if (!m_pDialog)
        return -1;
    HWND dialog = m_pDialog->m_hWnd;
    if (m_hReady)
        SetEvent(m_hReady);
    while (!m_bStop) {
        WaitForSingleObject(m_hSendEvent, INFINITE);
        if (m_bStop)
            break;
        DeviceRequestPacket packet;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            if (!m_bPending)
                continue;
            std::memcpy(&packet, &m_packet, sizeof(packet));
            m_bPending = false;
        }
        for (int i = 0; i < kCopies && !m_bStop; ++i) {
            int r = sendto(m_socket, reinterpret_cast<const char*>(&packet), int(kPacketSize), 0,
                           reinterpret_cast<const sockaddr*>(&m_destination), sizeof(m_destination));
            m_nLastSendResult = r;
            int error = r == SOCKET_ERROR ? WSAGetLastError() : 0;
            if (r == SOCKET_ERROR && error != 0) {
                // The dialog reports it and takes the program back to idle.
                SendMessageW(dialog, WM_QT_SEND_ERROR, WPARAM(error), 0);
                break;
            }
            Sleep(kCopyGapMs);
        }
        // A request handed over meanwhile has woken the event again: the report waits for it.
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_bPending)
            SetEvent(m_hSent);
    }
    return 0;
}

int CSndThread::ExitInstance()
{
    CloseSocket();
    return afx::CWinThread::ExitInstance();
}

void CSndThread::CloseSocket()
{
    SOCKET s = m_socket.exchange(INVALID_SOCKET);
    if (s != INVALID_SOCKET)
        closesocket(s);
}

void CSndThread::Stop()
{
    m_bStop = 1;
    if (GetExitCode() == STILL_ACTIVE) {
        m_bStop = 1;
        ResumeThread();
        if (m_hSendEvent)
            SetEvent(m_hSendEvent);
        JoinOrTerminate(kStopMs);
    }
    CloseSocket();
}
