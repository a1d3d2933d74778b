// Starts a program under test, waits for its windows and its end.
#include "tests/support/ProgramRun.h"
#include <filesystem>
#include <fstream>

ProgramRun::ProgramRun(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
                       const EnvVars& env)
{
    // The child inherits our environment, changed by `env` only while it starts.
    EnvVars saved;
    for (const auto& e : env) {
        wchar_t old[4096] = {};
        ::GetEnvironmentVariableW(e.first.c_str(), old, 4096);
        saved.push_back({e.first, old});
        ::SetEnvironmentVariableW(e.first.c_str(), e.second.empty() ? nullptr : e.second.c_str());
    }
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &si, &m_pi))
        m_pi = {};
    for (const auto& e : saved)
        ::SetEnvironmentVariableW(e.first.c_str(), e.second.empty() ? nullptr : e.second.c_str());
}

ProgramRun::~ProgramRun()
{
    if (!m_pi.hProcess)
        return;
    if (WaitExit(0) == STILL_ACTIVE) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
    ::CloseHandle(m_pi.hProcess);
    ::CloseHandle(m_pi.hThread);
}

DWORD ProgramRun::WaitExit(DWORD ms) const
{
    DWORD code = STILL_ACTIVE;
    if (m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

static BOOL CALLBACK Collect(HWND w, LPARAM all)
{
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(w);
    return TRUE;
}

std::vector<HWND> ProgramRun::Windows(const std::function<bool(HWND)>& match) const
{
    std::vector<HWND> all, found;
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == m_pi.dwProcessId && (match ? match(w) : ::IsWindowVisible(w) != FALSE))
            found.push_back(w);
    }
    return found;
}

HWND ProgramRun::WaitWindow(const std::function<bool(HWND)>& match, DWORD ms) const
{
    DWORD start = ::GetTickCount();
    for (;;) {
        std::vector<HWND> w = Windows(match);
        if (!w.empty())
            return w.front();
        if (WaitExit(0) != STILL_ACTIVE || ::GetTickCount() - start >= ms)
            return nullptr;
        ::Sleep(50);
    }
}

bool ProgramRun::EndsWithoutWindow(DWORD ms) const
{
    DWORD start = ::GetTickCount();
    do {
        if (!Windows().empty())
            return false;
        if (WaitExit(0) != STILL_ACTIVE)
            return true;
        ::Sleep(20);
    } while (::GetTickCount() - start < ms);
    return false;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring(L"<no control>");
}

std::wstring MessageText(HWND box)
{
    std::wstring clean;
    for (wchar_t c : ItemText(box, 0xFFFF))
        if (c != L'\r')
            clean += c;
    return clean;
}

void Press(HWND dialog, int id) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool IsDialogWindow(HWND hwnd)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    return std::wstring(cls) == L"#32770";
}

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TempDir::TempDir()
{
    static int counter = 0;
    wchar_t tmp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, tmp);
    m_path = std::wstring(tmp) + L"kit" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
             std::to_wstring(++counter) + L"_" + std::to_wstring(::GetTickCount());
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(m_path); }

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream f(std::filesystem::path(path), std::ios::binary);
    return f.write(bytes.data(), std::streamsize(bytes.size())) && f.flush();
}

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream f(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string Utf16Bytes(const std::wstring& text, bool mark)
{
    std::string out = mark ? "\xFF\xFE" : "";
    for (wchar_t c : text)
        out += {char(c & 0xFF), char((c >> 8) & 0xFF)};
    return out;
}

bool RemoveTree(const std::wstring& path)
{
    std::error_code e;
    std::filesystem::remove_all(path, e);
    return !std::filesystem::exists(path, e);
}

bool FolderExists(const std::wstring& path)
{
    std::error_code e;
    return std::filesystem::is_directory(path, e);
}
