// Starts a program under test, waits for its windows and its end.
#include "tests/support/ProgramRun.h"
#include <commctrl.h>
#include <algorithm>
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

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> all;
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> ProgramRun::Windows(const std::function<bool(HWND)>& match) const
{
    std::vector<HWND> found;
    for (HWND w : TopLevelWindows()) {
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
    return !WaitWindow(nullptr, ms) && WaitExit(0) != STILL_ACTIVE;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(hwnd, text, 1024);
    return text;
}

bool SaveWindowBmp(HWND window, const std::wstring& path)
{
    RECT r{};
    if (!::GetWindowRect(window, &r))
        return false;
    // Other windows on the same display may overlap it: it goes on top while it is taken.
    const bool topmost = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(300);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP shot = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, shot);
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory, old);
    if (!topmost)
        ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const DWORD size = DWORD((width * 3 + 3) & ~3) * DWORD(height);
    const DWORD head = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file = {0x4D42, head + size, 0, 0, head};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    if (bits) {
        bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
        bytes.append(static_cast<const char*>(bits), size);
    }
    ::DeleteObject(shot);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bits && WriteBytes(path, bytes);
}

std::wstring ListCellText(HWND list, int row, int col)
{
    struct Block {
        LVITEMW item;
        wchar_t text[260];
    };
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    auto* remote = static_cast<Block*>(
        process ? ::VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE) : nullptr);
    Block block = {};
    block.item.iSubItem = col;
    block.item.cchTextMax = 260;
    block.item.pszText = remote ? remote->text : nullptr;
    if (remote && ::WriteProcessMemory(process, remote, &block, sizeof block, nullptr)) {
        ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote, &block, sizeof block, nullptr);
    }
    if (remote)
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process)
        ::CloseHandle(process);
    block.text[259] = L'\0';
    return block.text;
}

std::wstring ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring(L"<no control>");
}

std::wstring MessageText(HWND box)
{
    std::wstring text = ItemText(box, 0xFFFF);
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return text;
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

std::wstring ResourceString(HMODULE module, UINT id, LANGID lang)
{
    HRSRC r = ::FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), lang);
    const WORD* p = r ? static_cast<const WORD*>(::LockResource(::LoadResource(module, r))) : nullptr;
    if (!p)
        return std::wstring();
    for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
    return std::wstring(reinterpret_cast<const wchar_t*>(p + 1), *p);
}

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

std::wstring ProfileValue(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[512] = {};
    ::GetPrivateProfileStringW(section, key, L"<none>", value, 512, file.c_str());
    return value;
}

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream f(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string Utf16Bytes(const std::wstring& text, bool mark)
{
    std::string out = mark ? "\xFF\xFE" : "";
    for (wchar_t c : text) out += {char(c & 0xFF), char((c >> 8) & 0xFF)};
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
