// Drives the real Quentari.exe from outside: its windows, its list's rows, screenshots.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "tests/support/ProgramRun.h"

class QuentariDriver {
public:
    explicit QuentariDriver(const EnvVars& env = {});
    ProgramRun& Run() { return *m_run; }
    // The main dialog once its first search has ended (nullptr after ms).
    HWND WaitSearchDone(DWORD ms = 30000);
    HWND Main() const { return m_main; }
    // The first visible dialog of the program titled `title`, other than the main dialog.
    HWND WaitDialog(const std::wstring& title, DWORD ms = 20000);
    // A message box's text; it is closed with OK.
    std::wstring TakeMessage(const std::wstring& caption, DWORD ms = 20000);
    int Rows() const;
    std::wstring Cell(int row, int col) const;
    // Saves the window as build/screenshots/quentari_<name>_<language>.bmp.
    void Shot(HWND window, const std::string& name) const;

private:
    std::unique_ptr<ProgramRun> m_run;
    HWND m_main = nullptr;
};

// A control's text as the control itself holds it (WM_GETTEXT).
std::wstring Text(HWND window, int id);
// Sets the four fields of an address control of a dialog.
void SetAddress(HWND dialog, int id, const char* dotted);
