// A worker thread that its owner joins before it dies; workers reach windows only by messages.
#pragma once
#include <windows.h>
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
    bool IsRunning() const;
    // The work's result once it has ended.
    unsigned ExitCode() const { return m_exitCode; }
    HANDLE Handle() const { return m_thread; }

private:
    static unsigned __stdcall Entry(void* self);
    HANDLE m_thread = nullptr;
    std::function<unsigned()> m_work;
    unsigned m_exitCode = 0;
};

}  // namespace afx
