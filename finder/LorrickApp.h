// The finder's application object: single instance, command line, OS check, library binding.
#pragma once
#include "afx/WinApp.h"
#include "finder/CommandLine.h"
#include "finder/TavikLoader.h"

// Serialises host-name resolution in the ping.
HANDLE ResolverMutex();

class CZevseekerApp : public afx::CWinApp {
public:
    ~CZevseekerApp() override;
    bool InitInstance() override;
    int ExitInstance() override;

    CPellgroveCommandLineInfo m_cmdInfo;
    // Bound at start-up; the main dialog's search thread polls through it.
    CTavikLoader m_tavik;
};

CZevseekerApp& TheApp();
