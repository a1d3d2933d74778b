// A network share of the test's own, \\kitPID_N\share\, for faults that would write to "the
// root of the current drive" (while the share is current, that root is the share) or that need
// a program folder without a drive letter. Under Wine it is a folder the test makes in the
// run's prefix, where Wine looks shares up: never one that exists already, and removed with
// everything in it afterwards, the current folder given back.
#pragma once
#include "tests/support/ProgramRun.h"
#include <algorithm>
#include <filesystem>
#include <set>

class OwnShare {
public:
    OwnShare()
    {
        static int count = 0;
        const wchar_t* prefix = _wgetenv(L"WINEPREFIX");
        if (!prefix)
            return;
        std::wstring unc = L"Z:" + std::wstring(prefix) + L"\\dosdevices\\unc";
        std::replace(unc.begin(), unc.end(), L'/', L'\\');
        std::wstring server = L"kit" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++count);
        ::CreateDirectoryW(unc.c_str(), nullptr);  // shared by every share; stays
        if (::CreateDirectoryW((unc + L"\\" + server).c_str(), nullptr))
            m_made = unc + L"\\" + server;
        if (!m_made.empty() && ::CreateDirectoryW((m_made + L"\\share").c_str(), nullptr))
            m_root = L"\\\\" + server + L"\\share\\";
    }
    ~OwnShare()
    {
        ::SetCurrentDirectoryW(m_before.c_str());
        if (!m_made.empty())
            RemoveTree(m_made);
    }
    // "\\SERVER\share\", or empty when it could not be made.
    const std::wstring& Root() const { return m_root; }
    bool MakeCurrent() const { return !m_root.empty() && ::SetCurrentDirectoryW(m_root.c_str()); }
    // The names the share holds.
    std::set<std::wstring> Names() const
    {
        std::set<std::wstring> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(m_root, error))
            names.insert(entry.path().filename().wstring());
        return names;
    }

private:
    const std::wstring m_before = std::filesystem::current_path().wstring();
    std::wstring m_made, m_root;
};
