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
