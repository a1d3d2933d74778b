// Runs the finder under test and finds its windows, message boxes and shell records.
#include "tests/finder/LorrickRun.h"
#include <algorithm>
#include <cstdlib>
#include <fstream>

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
    std::wstring own = OwnFolder();
    std::string recorder = "\"" + std::string(own.begin(), own.end()) + "shell_recorder.exe\"";
    SetDefault("http\\shell\\open\\command", recorder + " \"%1\"");
    SetDefault("Folder\\shell\\explore\\command", recorder + " explore \"%1\"");
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return;
    std::string unc = "Z:" + std::string(prefix) + "/dosdevices/unc";
    std::replace(unc.begin(), unc.end(), '/', '\\');
    CreateDirectoryA(unc.c_str(), nullptr);
    for (const std::string& n : uncNames) CreateDirectoryA((unc + "\\" + n).c_str(), nullptr);
}

LorrickRun::LorrickRun(const std::string& args, const std::wstring& exe, EnvVars env, const std::wstring& dir)
    : m_record(m_dir / L"shell.txt")
{
    env.push_back({L"LORRICK_RECORD", m_record});
    GetSystemTimeAsFileTime(&m_start);
    m_run.reset(new ProgramRun(exe.empty() ? OwnFolder() + L"Lorrick.exe" : exe, Widen(args), dir, env));
}

// The finder's three kinds of dialog, told apart by a control only each of them has.
static bool HasItem(HWND h, int id) { return GetDlgItem(h, id) != nullptr; }

HWND LorrickRun::MessageBox(DWORD ms) const
{
    return m_run->WaitWindow([](HWND h) {
        return IsDialogWindow(h) && IsWindowVisible(h) && !HasItem(h, 6204) && !HasItem(h, 6300);
    }, ms);
}

HWND LorrickRun::SearchingBox(DWORD ms) const
{
    return m_run->WaitWindow([](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && HasItem(h, 6300); }, ms);
}

HWND LorrickRun::MainDialog(DWORD ms) const
{
    return m_run->WaitWindow([](HWND h) { return IsDialogWindow(h) && HasItem(h, 6204); }, ms);
}

std::wstring LorrickRun::TakeMessageBox(DWORD ms)
{
    HWND box = MessageBox(ms);
    if (!box)
        return std::wstring();
    Sleep(100);  // let the box finish its layout before reading it
    std::wstring text = MessageText(box);
    Press(box, IDOK);
    return text;
}

std::vector<ShellRecord> LorrickRun::Records(DWORD ms) const
{
    DWORD end = GetTickCount() + ms;
    while (GetFileAttributesW(m_record.c_str()) == INVALID_FILE_ATTRIBUTES && int(end - GetTickCount()) > 0)
        Sleep(50);
    Sleep(100);  // a line being written
    std::vector<ShellRecord> out;
    std::ifstream f(std::string(m_record.begin(), m_record.end()));
    double start = double((static_cast<unsigned long long>(m_start.dwHighDateTime) << 32) | m_start.dwLowDateTime);
    // "<file time> <arguments>", the arguments without their quotes.
    for (std::string line; std::getline(f, line);) {
        const size_t space = line.find(' ');
        std::string args = line.substr(space + 1);
        args.erase(std::remove(args.begin(), args.end(), '"'), args.end());
        if (space != std::string::npos)
            out.push_back({(double(std::strtoull(line.c_str(), nullptr, 10)) - start) / 1e7, args});
    }
    return out;
}
