// A thread object with start-up, run and clean-up steps, created suspended and joined by its owner.
#include "afx/WinThread.h"

namespace afx {

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

bool CWinThread::CreateThread(bool suspended)
{
    if (m_hThread)
        return false;
    m_hThread = ::CreateThread(nullptr, 0, Entry, this, suspended ? CREATE_SUSPENDED : 0, &m_nThreadID);
    return m_hThread != nullptr;
}

DWORD CWinThread::GetExitCode() const
{
    DWORD code = 0;
    if (!m_hThread || !::GetExitCodeThread(m_hThread, &code))
        return 0;
    return code;
}

bool CWinThread::JoinServingSentMessages(DWORD ms) const
{
    if (!m_hThread)
        return true;
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        DWORD left = ms == INFINITE ? INFINITE : (elapsed >= ms ? 0 : ms - elapsed);
        DWORD r = ::MsgWaitForMultipleObjects(1, &m_hThread, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return false;
        // Serves the sent messages only; posted ones stay queued for the loop.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool CWinThread::JoinOrTerminate(DWORD ms)
{
    if (JoinServingSentMessages(ms))
        return true;
    ::TerminateThread(m_hThread, kTerminatedExitCode);
    ::WaitForSingleObject(m_hThread, INFINITE);
    return false;
}

DWORD WINAPI CWinThread::Entry(void* self)
{
    auto* t = static_cast<CWinThread*>(self);
    int code;
    try {
        code = t->InitInstance() ? t->Run() : -1;
        t->m_nExitCode = code;
        code = t->ExitInstance();
    } catch (...) {
        ::OutputDebugStringW(L"afx: exception in a thread\n");
        code = -1;
    }
    return DWORD(code);
}

}  // namespace afx
