// The receiver: waits on UDP port 65 and hands the answers to the current request to the dialog.
#pragma once
#include <winsock2.h>
#include "afx/WinThread.h"
#include "afx/Wnd.h"
#include "finderlib/TavikPacket.h"
#include <atomic>
#include <cstdint>

class CRcvThread : public afx::CWinThread {
public:
    CRcvThread() = default;
    ~CRcvThread() override;

    // Creates the socket and binds it to port 65 on every local address: 0, or the id of the
    // string that tells what failed (IDS_NO_UDP_SOCKET, IDS_PORT_USED).
    int OpenSocket();
    void SetDialog(afx::CWnd* dialog) { m_pDialog = dialog; }
    // Ends the thread: the blocked receive is woken by closing the socket, and the join serves
    // the reply the thread may be handing over. A thread that still does not end is terminated.
    void Stop();
    // How long a stop waits for the thread to end by itself.
    static constexpr DWORD kStopMs = 5000;
    // How long the receiver waits after a failed receive before it tries again: a lasting
    // failure (the network down) costs a few tries a second, not a core; a stop cuts it short.
    static constexpr DWORD kRetryMs = 100;
    void CloseSocket();

    std::atomic<int> m_bStop{0};

protected:
    bool InitInstance() override { return true; }
    int Run() override;
    int ExitInstance() override;

private:
    std::atomic<SOCKET> m_socket{INVALID_SOCKET};
    // Set by Stop(): wakes the wait after a failed receive.
    HANDLE m_hWake = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    afx::CWnd* m_pDialog = nullptr;
    // One reply at a time: the dialog has used it before the next receive overwrites it.
    uint8_t m_abReply[kReceiveBufferSize] = {};
};
