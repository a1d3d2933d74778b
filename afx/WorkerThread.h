// A worker thread that its owner joins before it dies; workers reach windows only by messages.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>

namespace afx {

class CWorkerThread {
public:
    CWorkerThread() = default;
    // Joins a thread still running: the work must not outlive what it uses.
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts `work`; false when a thread is already running or cannot be started.
    bool Start(std::function<unsigned()> work);
    // Waits for the thread; true when it ended within `ms`. Returns at once when none runs.
    bool Join(DWORD ms = INFINITE);
    // Join for a user-interface thread: messages other threads send to it are served while it
    // waits, so a worker blocked in SendMessage to one of its windows can finish.
    bool JoinServingSentMessages(DWORD ms = INFINITE);
    // Asks the work to end (StopRequested turns true) and joins it as JoinServingSentMessages.
    // A thread still running after `ms` is terminated, a last resort for work stuck in a call
    // that never returns, fit only when the process ends soon after. True when it ended itself.
    bool Stop(DWORD ms);
    void RequestStop() { m_stopRequested = true; }
    // Polled by the work; false again at each Start.
    bool StopRequested() const { return m_stopRequested; }
    bool IsRunning() const;
    // The work's result once it has ended; unsigned(-1) when it threw or was terminated.
    unsigned ExitCode() const { return m_exitCode; }
    HANDLE Handle() const { return m_thread; }

private:
    static unsigned __stdcall Entry(void* self);
    HANDLE m_thread = nullptr;
    std::function<unsigned()> m_work;
    unsigned m_exitCode = 0;
    std::atomic<bool> m_stopRequested{false};
};

}  // namespace afx
