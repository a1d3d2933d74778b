// A named mutex held for the life of its owner: the single-instance check of every program.
#pragma once
#include <windows.h>

namespace afx {

class CNamedMutex {
public:
    // Creates or opens the mutex; remembers whether another process had made it already.
    explicit CNamedMutex(const wchar_t* name, bool initialOwner = false)
    {
        m_handle = ::CreateMutexW(nullptr, initialOwner ? TRUE : FALSE, name);
        m_existed = m_handle && ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    ~CNamedMutex()
    {
        if (m_handle)
            ::CloseHandle(m_handle);
    }
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    HANDLE Handle() const { return m_handle; }
    bool Created() const { return m_handle != nullptr; }
    // True when the name was already held by a running copy.
    bool AlreadyExisted() const { return m_existed; }

private:
    HANDLE m_handle;
    bool m_existed;
};

}  // namespace afx
