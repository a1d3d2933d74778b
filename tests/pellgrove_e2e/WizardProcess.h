// Starts the wizard from the medium drive and watches the windows of its process.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The root of the drive the sample medium is mapped to ("P:\"), empty when not mapped.
std::wstring MediumRoot();
// Empties the medium root and copies the wizard program onto it under `exeName`.
bool PrepareMedium(const std::wstring& exeName);
// Copies a file of the repository's sample medium onto the medium root.
bool CopySampleFile(const std::wstring& name);
// Writes a UTF-16LE profile file with its mark onto the medium root.
bool WriteMediumFile(const std::wstring& name, const std::wstring& text);
// Deletes a folder with all of its content; true when it is gone afterwards.
bool RemoveTree(const std::wstring& path);
bool FolderExists(const std::wstring& path);

class WizardProcess {
public:
    ~WizardProcess();
    // Starts `exeName` from the medium root with the root as working folder.
    bool Start(const std::wstring& exeName);
    // The first visible top-level window of the process within `ms`, or nullptr.
    HWND WaitForWindow(DWORD ms = 15000) const;
    // Whether the process ended within `ms` without ever showing a window.
    bool EndsWithoutWindow(DWORD ms = 15000) const;
    // True when the process ended within `ms`.
    bool WaitForExit(DWORD ms = 15000) const;
    DWORD ExitCode() const;
    std::vector<HWND> Windows() const;

private:
    PROCESS_INFORMATION m_pi{};
};

std::wstring WindowText(HWND hwnd);
std::wstring DialogItemText(HWND dialog, int id);
