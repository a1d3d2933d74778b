#include "lorrick_process.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string ExeDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/"));
}

static void SetDefault(const char* key, const std::string& value)
{
    HKEY k;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == 0) {
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
        RegCloseKey(k);
    }
}

void RegisterShellRecorder(const std::vector<std::string>& uncNames)
{
    std::string recorder = "\"" + ExeDir() + "\\shell_recorder.exe\"";
    SetDefault("http\\shell\\open\\command", recorder + " \"%1\"");
    SetDefault("Folder\\shell\\explore\\command", recorder + " explore \"%1\"");
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return;
    std::string unc = "Z:" + std::string(prefix) + "/dosdevices/unc";
    for (char& c : unc)
        if (c == '/')
            c = '\\';
    CreateDirectoryA(unc.c_str(), nullptr);
    for (const std::string& n : uncNames)
        CreateDirectoryA((unc + "\\" + n).c_str(), nullptr);
}

LorrickRun::LorrickRun(const std::string& args, const std::string& exe)
{
    static int serial = 0;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    m_record = std::string(tmp) + "lorrick_" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(++serial) + ".txt";
    DeleteFileA(m_record.c_str());
    SetEnvironmentVariableA("LORRICK_RECORD", m_record.c_str());
    std::string path = exe.empty() ? ExeDir() + "\\Lorrick.exe" : exe;
    std::string cmd = "\"" + path + "\" " + args;
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    GetSystemTimeAsFileTime(&m_start);
    if (!CreateProcessA(path.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = {};
}

LorrickRun::~LorrickRun()
{
    if (!m_pi.hProcess)
        return;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    DeleteFileA(m_record.c_str());
}

DWORD LorrickRun::WaitExit(DWORD ms)
{
    if (!m_pi.hProcess || WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

std::wstring ControlText(HWND dlg, int id)
{
    wchar_t buf[1024] = {};
    GetDlgItemTextW(dlg, id, buf, 1024);
    return buf;
}

namespace {
struct Search {
    DWORD pid;
    int kind;  // 0 message box, 1 searching box, 2 main dialog
    HWND found;
};

bool IsDialog(HWND h)
{
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    return std::wstring(cls) == L"#32770";
}

BOOL CALLBACK Visit(HWND h, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !IsDialog(h))
        return TRUE;
    bool main = GetDlgItem(h, 6204) != nullptr;
    bool box = GetDlgItem(h, 6300) != nullptr;
    int kind = main ? 2 : box ? 1 : 0;
    if (kind == s->kind && (kind == 2 || IsWindowVisible(h))) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND Find(DWORD pid, int kind, DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        Search s = {pid, kind, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        if (s.found || int(end - GetTickCount()) <= 0)
            return s.found;
        Sleep(50);
    }
}

BOOL CALLBACK LongestStatic(HWND h, LPARAM lp)
{
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0) {
        wchar_t buf[1024] = {};
        GetWindowTextW(h, buf, 1024);
        auto* best = reinterpret_cast<std::wstring*>(lp);
        if (wcslen(buf) > best->size())
            *best = buf;
    }
    return TRUE;
}
}  // namespace

HWND LorrickRun::FindMessageBox(DWORD ms) const { return Find(m_pi.dwProcessId, 0, ms); }

std::wstring LorrickRun::TakeMessageBox(DWORD ms)
{
    HWND box = FindMessageBox(ms);
    if (!box)
        return std::wstring();
    Sleep(100);  // let the box finish its layout before reading it
    std::wstring text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    std::wstring clean;
    for (wchar_t c : text)
        if (c != L'\r')
            clean += c;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return clean;
}

HWND LorrickRun::FindSearchingBox(DWORD ms) const { return Find(m_pi.dwProcessId, 1, ms); }
HWND LorrickRun::FindMainDialog(DWORD ms) const { return Find(m_pi.dwProcessId, 2, ms); }

namespace {
struct Visible {
    DWORD pid;
    bool visible;
};

BOOL CALLBACK VisitVisible(HWND h, LPARAM lp)
{
    auto* v = reinterpret_cast<Visible*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == v->pid && IsWindowVisible(h))
        v->visible = true;
    return TRUE;
}
}  // namespace

bool LorrickRun::AnyVisibleWindow() const
{
    Visible v = {m_pi.dwProcessId, false};
    EnumWindows(VisitVisible, reinterpret_cast<LPARAM>(&v));
    return v.visible;
}

std::vector<ShellRecord> LorrickRun::Records(DWORD ms) const
{
    DWORD end = GetTickCount() + ms;
    while (GetFileAttributesA(m_record.c_str()) == INVALID_FILE_ATTRIBUTES && int(end - GetTickCount()) > 0)
        Sleep(50);
    Sleep(100);  // a line being written
    std::vector<ShellRecord> out;
    std::ifstream f(m_record);
    std::string line;
    unsigned long long start = (static_cast<unsigned long long>(m_start.dwHighDateTime) << 32) | m_start.dwLowDateTime;
    while (std::getline(f, line)) {
        size_t sp = line.find(' ');
        if (sp == std::string::npos)
            continue;
        unsigned long long t = std::strtoull(line.substr(0, sp).c_str(), nullptr, 10);
        std::string args;
        for (char c : line.substr(sp + 1))
            if (c != '"')
                args += c;
        out.push_back({(double(t) - double(start)) / 1e7, args});
    }
    return out;
}
