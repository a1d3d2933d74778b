#include "tests/support/ProgramRun.h"
#include <shellapi.h>
#include <map>

ProgramRun::ProgramRun(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
                       const EnvVars& env)
{
    std::map<std::wstring, std::wstring> vars;
    if (wchar_t* all = ::GetEnvironmentStringsW()) {
        for (const wchar_t* p = all; *p; p += wcslen(p) + 1) {
            std::wstring v(p);
            size_t eq = v.find(L'=', 1);  // names like "=C:" start with the sign
            if (eq != std::wstring::npos)
                vars[v.substr(0, eq)] = v.substr(eq + 1);
        }
        ::FreeEnvironmentStringsW(all);
    }
    for (const auto& e : env) {
        if (e.second.empty())
            vars.erase(e.first);
        else
            vars[e.first] = e.second;
    }
    std::wstring block;
    for (const auto& v : vars)
        block += v.first + L"=" + v.second + L'\0';
    block += L'\0';
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          &block[0], dir.empty() ? nullptr : dir.c_str(), &si, &m_pi))
        m_pi = {};
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

namespace {
struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    std::vector<HWND> found;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid == s->pid && (*s->match)(w))
        s->found.push_back(w);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid, const std::function<bool(HWND)>& match)
{
    Search s{pid, &match, {}};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
}  // namespace

std::vector<HWND> ProgramRun::Windows() const
{
    return TopWindows(m_pi.dwProcessId, [](HWND w) { return ::IsWindowVisible(w) != FALSE; });
}

HWND ProgramRun::WaitWindow(const std::function<bool(HWND)>& match, DWORD ms) const
{
    DWORD start = ::GetTickCount();
    for (;;) {
        std::vector<HWND> w = TopWindows(m_pi.dwProcessId, match);
        if (!w.empty())
            return w.front();
        if (WaitExit(0) != STILL_ACTIVE || ::GetTickCount() - start >= ms)
            return nullptr;
        ::Sleep(50);
    }
}

HWND ProgramRun::WaitVisible(DWORD ms) const
{
    return WaitWindow([](HWND w) { return ::IsWindowVisible(w) != FALSE; }, ms);
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
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    ::CloseHandle(h);
    return ok && done == bytes.size();
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        out.append(buf, got);
    ::CloseHandle(h);
    return out;
}

std::string Utf16Bytes(const std::wstring& text, bool mark)
{
    std::string out = mark ? "\xFF\xFE" : "";
    for (wchar_t c : text) {
        out.push_back(char(c & 0xFF));
        out.push_back(char((c >> 8) & 0xFF));
    }
    return out;
}

bool RemoveTree(const std::wstring& path)
{
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool FolderExists(const std::wstring& path)
{
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
