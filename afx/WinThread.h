// A thread object with start-up, run and clean-up steps, created suspended and joined by its owner.
#pragma once
#include <windows.h>

namespace afx {

class CWinThread {
public:
    CWinThread() = default;
    // The owner stops and joins the thread before deleting the object.
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Creates the thread, suspended when asked; false when it cannot be created.
    bool CreateThread(bool suspended);
    DWORD ResumeThread() { return m_hThread ? ::ResumeThread(m_hThread) : DWORD(-1); }
    // STILL_ACTIVE while the thread runs.
    DWORD GetExitCode() const;
    // Waits for the thread's end while serving the messages other threads send to this one,
    // so a thread blocked in SendMessage to our windows can finish. True when it ended in ms.
    bool JoinServingSentMessages(DWORD ms) const;
    // JoinServingSentMessages, and a thread still running after ms is terminated with
    // kTerminatedExitCode: a last resort for a thread stuck in a call that never returns.
    // True when the thread ended by itself.
    bool JoinOrTerminate(DWORD ms);
    static constexpr DWORD kTerminatedExitCode = 0xDEADu;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;

protected:
    // Runs first on the new thread; false skips Run and goes to ExitInstance.
    virtual bool InitInstance() { return true; }
    virtual int Run() { return 0; }
    // Runs last on the thread; its result is the thread's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    int m_nExitCode = 0;

private:
    static DWORD WINAPI Entry(void* self);
};

}  // namespace afx
