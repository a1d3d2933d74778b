// Starts the wizard from the medium drive and watches the windows of its process.
#include "tests/pellgrove_e2e/WizardProcess.h"
#include <shellapi.h>
#include <cstdlib>

std::wstring MediumRoot()
{
    const wchar_t* drive = _wgetenv(L"KIT_MEDIUM_DRIVE");
    return drive && *drive ? std::wstring(drive) + L"\\" : std::wstring();
}

static std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

// The repository's sample medium as Wine sees it through the Z: drive.
static std::wstring SampleMedium()
{
    const wchar_t* src = _wgetenv(L"KIT_SOURCE_DIR");
    if (!src)
        return std::wstring();
    std::wstring s = std::wstring(L"Z:") + src + L"/samples/medium/";
    for (wchar_t& c : s)
        if (c == L'/')
            c = L'\\';
    return s;
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

bool PrepareMedium(const std::wstring& exeName)
{
    std::wstring root = MediumRoot();
    if (root.empty())
        return false;
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((root + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = root + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileW(full.c_str());
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }
    return ::CopyFileW((OwnFolder() + L"Pellgrove.exe").c_str(), (root + exeName).c_str(), FALSE) != FALSE;
}

bool CopySampleFile(const std::wstring& name)
{
    std::wstring sample = SampleMedium();
    return !sample.empty() &&
           ::CopyFileW((sample + name).c_str(), (MediumRoot() + name).c_str(), FALSE) != FALSE;
}

bool WriteMediumFile(const std::wstring& name, const std::wstring& text)
{
    HANDLE f = ::CreateFileW((MediumRoot() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    std::wstring data = L"\xFEFF" + text;
    DWORD written = 0;
    BOOL ok = ::WriteFile(f, data.data(), DWORD(data.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(f);
    return ok && written == data.size() * sizeof(wchar_t);
}

WizardProcess::~WizardProcess()
{
    if (m_pi.hProcess) {
        if (!WaitForExit(0)) {
            for (HWND w : Windows())
                ::PostMessageW(w, WM_CLOSE, 0, 0);
            if (!WaitForExit(10000))
                ::TerminateProcess(m_pi.hProcess, 99);
        }
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
    }
}

bool WizardProcess::Start(const std::wstring& exeName)
{
    std::wstring root = MediumRoot();
    std::wstring cmd = L"\"" + root + exeName + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    return ::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, root.c_str(), &si,
                            &m_pi) != FALSE;
}

std::vector<HWND> WizardProcess::Windows() const
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{m_pi.dwProcessId, {}};
    struct Collect {
        static BOOL CALLBACK Proc(HWND w, LPARAM lp)
        {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == s->pid && ::IsWindowVisible(w))
                s->found.push_back(w);
            return TRUE;
        }
    };
    ::EnumWindows(Collect::Proc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WizardProcess::WaitForWindow(DWORD ms) const
{
    DWORD start = ::GetTickCount();
    do {
        std::vector<HWND> w = Windows();
        if (!w.empty())
            return w.front();
        if (WaitForExit(0))
            return nullptr;
        ::Sleep(50);
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

bool WizardProcess::EndsWithoutWindow(DWORD ms) const
{
    DWORD start = ::GetTickCount();
    do {
        if (!Windows().empty())
            return false;
        if (WaitForExit(0))
            return true;
        ::Sleep(20);
    } while (::GetTickCount() - start < ms);
    return false;
}

bool WizardProcess::WaitForExit(DWORD ms) const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0;
}

DWORD WizardProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring DialogItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring(L"<no control>");
}
