// Runs the real Lorrick.exe and watches what it shows and what it asks the shell to open.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Registers the shell recorder for http pages and folders, and makes the given UNC names
// folders of the test prefix, so that "explore" of \\NAME reaches the recorder.
void RegisterShellRecorder(const std::vector<std::string>& uncNames);

struct ShellRecord {
    double secondsAfterStart;
    std::string args;
};

class LorrickRun {
public:
    // Starts "<exe> <args>" exactly as given (the one blank after the program name is ours).
    explicit LorrickRun(const std::string& args, const std::string& exe = std::string());
    ~LorrickRun();
    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Pid() const { return m_pi.dwProcessId; }

    // The exit code, or STILL_ACTIVE when it did not end within ms.
    DWORD WaitExit(DWORD ms);
    // Text of a message box of this process (blank lines and CRs removed), answered with OK;
    // empty when none appeared within ms.
    std::wstring TakeMessageBox(DWORD ms);
    // A message box of this process, left open; nullptr when none appeared within ms.
    HWND FindMessageBox(DWORD ms) const;
    // The visible searching box, or nullptr.
    HWND FindSearchingBox(DWORD ms) const;
    // The hidden main dialog, or nullptr.
    HWND FindMainDialog(DWORD ms) const;
    // Whether any window of the process is visible now.
    bool AnyVisibleWindow() const;
    // What the shell was asked to open; waits up to ms for the first record, since the recorder
    // starts after the program has asked (and often after it has ended).
    std::vector<ShellRecord> Records(DWORD ms = 3000) const;

private:
    PROCESS_INFORMATION m_pi = {};
    std::string m_record;
    FILETIME m_start = {};
};

std::string ExeDir();
std::wstring ControlText(HWND dlg, int id);
