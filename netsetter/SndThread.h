// The sender: broadcasts the request the dialog hands it three times, 250 ms apart, on port 65.
#pragma once
#include <winsock2.h>
#include "afx/WinThread.h"
#include "afx/Wnd.h"
#include "finderlib/TavikPacket.h"
#include <atomic>
#include <cstdint>
#include <mutex>

class CSndThread : public afx::CWinThread {
public:
    CSndThread() = default;
    ~CSndThread() override;

    void SetDialog(afx::CWnd* dialog) { m_pDialog = dialog; }
    // The event the thread signals when its loop starts (owned by the dialog).
    void SetReadyEvent(HANDLE ready) { m_hReady = ready; }
    // Hands a request to the thread and wakes it; called on the dialog's thread. One handed over
    // while copies go out waits for them, then goes out three times whole (a later one replaces
    // it while it waits).
    bool Send(const DeviceRequestPacket& packet);
    // Waits until the copies of the requests handed over have gone out (or the sends stopped at
    // an error); false when that did not happen within ms.
    bool WaitSent(DWORD ms);
    // Ends the thread, waking it from its wait; one that still does not end is terminated.
    void Stop();
    // How long a stop waits for the thread to end by itself.
    static constexpr DWORD kStopMs = 5000;
    void CloseSocket();

    // The result of the most recent sendto: bytes sent, or -1 after a failure.
    std::atomic<int> m_nLastSendResult{0};
    std::atomic<int> m_bStop{0};

    static constexpr int kCopies = 3;
    static constexpr DWORD kCopyGapMs = 250;

protected:
    bool InitInstance() override;
    int Run() override;
    int ExitInstance() override;

private:
    afx::CWnd* m_pDialog = nullptr;
    HANDLE m_hReady = nullptr;
    HANDLE m_hSendEvent = nullptr;
    // Manual-reset: set once the copies of the last request have gone out.
    HANDLE m_hSent = nullptr;
    std::atomic<SOCKET> m_socket{INVALID_SOCKET};
    sockaddr_in m_destination = {};
    // The request handed over and not yet taken by the thread, which sends a copy of its own.
    std::mutex m_lock;
    DeviceRequestPacket m_packet = {};
    bool m_bPending = false;
};
