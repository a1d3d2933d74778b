// The finder's application object: single instance, command line, OS check, library binding.
#pragma once
#include "afx/WinApp.h"
#include "finder/CommandLine.h"
#include "finder/ZevRecord.h"
#include <cstdint>

using GetZevListFn = int(__cdecl*)(ZevDeviceRecord* table, uint16_t* count);

// Bound at start-up; read by the search thread.
extern GetZevListFn g_pfnGetZevList;
// Serialises host-name resolution in the ping.
HANDLE ResolverMutex();

class CZevseekerApp : public afx::CWinApp {
public:
    ~CZevseekerApp() override;
    bool InitInstance() override;
    int ExitInstance() override;

    CPellgroveCommandLineInfo m_cmdInfo;
    HMODULE m_hTavik = nullptr;
};

CZevseekerApp& TheApp();
