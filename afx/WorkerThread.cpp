// A worker thread that its owner joins before it dies; workers reach windows only by messages.
#include "afx/WorkerThread.h"
#include <process.h>

namespace afx {

CWorkerThread::~CWorkerThread() { Join(); }

bool CWorkerThread::Start(std::function<unsigned()> work)
{
    if (IsRunning() || !work)
        return false;
    Join();
    m_work = std::move(work);
    m_exitCode = 0;
    m_stopRequested = false;
    uintptr_t h = _beginthreadex(nullptr, 0, Entry, this, 0, nullptr);
    m_thread = reinterpret_cast<HANDLE>(h);
    return m_thread != nullptr;
}

bool CWorkerThread::Join(DWORD ms)
{
    if (!m_thread)
        return true;
    if (::WaitForSingleObject(m_thread, ms) != WAIT_OBJECT_0)
        return false;
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    return true;
}

bool CWorkerThread::JoinServingSentMessages(DWORD ms)
{
    if (!m_thread)
        return true;
    const DWORD start = ::GetTickCount();
    for (;;) {
        // Peeking delivers the sent messages, also those that came before the wait began (the
        // wait wakes only for new ones); posted messages stay queued.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD waited = ::GetTickCount() - start;
        DWORD left = ms == INFINITE ? INFINITE : waited >= ms ? 0 : ms - waited;
        DWORD r = ::MsgWaitForMultipleObjects(1, &m_thread, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            break;
        if (r != WAIT_OBJECT_0 + 1 || left == 0)
            return false;
    }
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    return true;
}

bool CWorkerThread::Stop(DWORD ms)
{
    RequestStop();
    if (JoinServingSentMessages(ms))
        return true;
    ::TerminateThread(m_thread, DWORD(-1));
    Join();
    m_exitCode = unsigned(-1);
    return false;
}

bool CWorkerThread::IsRunning() const
{
    return m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

unsigned __stdcall CWorkerThread::Entry(void* p)
{
    auto* self = static_cast<CWorkerThread*>(p);
    unsigned r = 0;
    try {
        r = self->m_work();
    } catch (...) {
        ::OutputDebugStringW(L"afx: exception in a worker thread\n");
        r = unsigned(-1);
    }
    self->m_exitCode = r;
    return r;
}

}  // namespace afx
