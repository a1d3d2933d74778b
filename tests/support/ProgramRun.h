// Runs a real program of the kit and watches its process from outside: its top-level windows,
// their texts, button presses and its end. Also the file helpers the tests share.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using EnvVars = std::vector<std::pair<std::wstring, std::wstring>>;

class ProgramRun {
public:
    // Starts "\"exe\" args" exactly as given, in `dir` (empty: ours), with our environment
    // changed by `env` (an empty value removes the variable).
    ProgramRun(const std::wstring& exe, const std::wstring& args = L"", const std::wstring& dir = L"",
               const EnvVars& env = {});
    ~ProgramRun();  // ends the process if it still runs
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    // The exit code, or STILL_ACTIVE when it did not end within ms.
    DWORD WaitExit(DWORD ms = 15000) const;
    // The process's top-level windows that `match` accepts (none given: the visible ones).
    std::vector<HWND> Windows(const std::function<bool(HWND)>& match = nullptr) const;
    // The first top-level window (visible or not) that `match` accepts, polled for up to ms;
    // nullptr when none came or the process ended first.
    HWND WaitWindow(const std::function<bool(HWND)>& match = nullptr, DWORD ms = 15000) const;
    // Whether the process ended within ms without ever showing a window.
    bool EndsWithoutWindow(DWORD ms = 15000) const;

private:
    PROCESS_INFORMATION m_pi = {};
};

// Every top-level window of the desktop, in z-order.
std::vector<HWND> TopLevelWindows();
std::wstring WindowText(HWND hwnd);
// Saves what the screen shows of a window of any process as a 24-bit BMP file, the window
// raised above the others for the moment.
bool SaveWindowBmp(HWND window, const std::wstring& path);
// The text of a cell of a list view of any process, read through a buffer inside that process.
std::wstring ListCellText(HWND list, int row, int col);
std::wstring ItemText(HWND dialog, int id);
// The text of a message box, without carriage returns.
std::wstring MessageText(HWND box);
void Press(HWND dialog, int id);
bool IsDialogWindow(HWND hwnd);
// The folder of this test program, with its trailing backslash.
std::wstring OwnFolder();
std::wstring Widen(const std::string& ascii);
// A string of another module's string table in one language; empty when it has none.
std::wstring ResourceString(HMODULE module, UINT id, LANGID lang);

// A scratch folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

bool WriteBytes(const std::wstring& path, const std::string& bytes);
// A key's value in an INI file, "<none>" when it has none.
std::wstring ProfileValue(const std::wstring& file, const wchar_t* section, const wchar_t* key);
std::string ReadBytes(const std::wstring& path);
// UTF-16LE bytes of a text, with the FF FE mark when asked.
std::string Utf16Bytes(const std::wstring& text, bool mark);
// Deletes a file or a folder with all of its content; true when it is gone afterwards.
bool RemoveTree(const std::wstring& path);
bool FolderExists(const std::wstring& path);
