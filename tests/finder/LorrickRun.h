// The real Lorrick.exe, its windows, and what it asked the shell to open.
#pragma once
#include "tests/support/ProgramRun.h"
#include <memory>

// Registers the shell recorder for http pages and folders, and makes the given UNC names
// folders of the test prefix, so that "explore" of \\NAME reaches the recorder.
void RegisterShellRecorder(const std::vector<std::string>& uncNames);

struct ShellRecord {
    double secondsAfterStart;
    std::string args;
};

class LorrickRun {
public:
    // Starts "<exe> <args>" (exe: the one beside this test) with the recorder's file and `env`,
    // in `dir` (empty: ours).
    explicit LorrickRun(const std::string& args, const std::wstring& exe = L"", EnvVars env = {}, const std::wstring& dir = L"");
    ProgramRun& Run() { return *m_run; }
    DWORD WaitExit(DWORD ms) { return m_run->WaitExit(ms); }
    // A visible message box, the visible searching box, the hidden main dialog; nullptr if none came.
    HWND MessageBox(DWORD ms) const;
    HWND SearchingBox(DWORD ms) const;
    HWND MainDialog(DWORD ms) const;
    // The text of a message box, answered with OK; empty when none came within ms.
    std::wstring TakeMessageBox(DWORD ms);
    // What the shell was asked to open; waits up to ms for the first record, since the recorder
    // starts after the program has asked (and often after it has ended).
    std::vector<ShellRecord> Records(DWORD ms = 3000) const;

private:
    TempDir m_dir;  // goes after the program
    std::wstring m_record;
    FILETIME m_start = {};
    std::unique_ptr<ProgramRun> m_run;
};
