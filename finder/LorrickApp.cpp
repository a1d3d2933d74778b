#include "finder/LorrickApp.h"
#include "afx/MessageBox.h"
#include "afx/NamedMutex.h"
#include "afx/ResourceLanguage.h"
#include "finder/LorrickRes.h"
#include "finder/ZevseekerDlg.h"
#include "frame/UiLanguage.h"
#include <shellapi.h>

GetZevListFn g_pfnGetZevList = nullptr;

namespace {

// Created in this order before the program runs: instance mutex, application, resolver mutex.
afx::CNamedMutex g_instanceMutex(L"{LRK719967F0-DCC6-49b5-9C61-DE91175C3187}");
CZevseekerApp theApp;
// The resolver mutex has no name: it only orders this process's own threads.
afx::CNamedMutex g_resolverMutex(nullptr);

void ShowMessage(UINT id, UINT icon = 0)
{
    afx::AfxMessageBox(id, IDS_TITLE, MB_OK | icon);
}

}  // namespace

HANDLE ResolverMutex() { return g_resolverMutex.Handle(); }
CZevseekerApp& TheApp() { return theApp; }

CZevseekerApp::~CZevseekerApp() = default;

bool CZevseekerApp::InitInstance()
{
    if (g_instanceMutex.AlreadyExisted())
        return false;
    LANGID lang = GetUILanguage();
    afx::SetResourceLanguage(lang ? lang : 1033);

    // Clears the ARP cache so that a device that changed its address is reached anew.
    ShellExecuteA(nullptr, "open", "arp", "-d", nullptr, SW_HIDE);

    const char* tail = CommandLineTail(GetCommandLineA());
    if (!HasExactlyOneBlank(tail)) {
        ShowMessage(IDS_START_ERROR);
        return false;
    }
    if (!m_cmdInfo.ParseWords(SplitCommandLine(tail))) {
        ShowMessage(IDS_START_ERROR);
        ExitProcess(0);
    }
    if (NtFiveOrLater() != 1) {
        ShowMessage(IDS_OS_UNSUPPORTED);
        return false;
    }
    m_hTavik = LoadLibraryExA("Tavik.dll", nullptr, 0);
    if (m_hTavik) {
        g_pfnGetZevList = reinterpret_cast<GetZevListFn>(GetProcAddress(m_hTavik, "GetZevList"));
        if (!g_pfnGetZevList) {
            FreeLibrary(m_hTavik);
            m_hTavik = nullptr;
        }
    }
    if (!m_hTavik) {
        ShowMessage(IDS_NO_LIBRARY);
        return false;
    }

    CZevseekerDlg dlg(m_cmdInfo.m_nMode, m_cmdInfo.m_szTarget);
    m_pMainWnd = &dlg;
    if (dlg.Create(IDD_ZEVSEEKER, nullptr)) {
        dlg.ShowWindow(SW_HIDE);
        dlg.RunModalLoop();
    }
    m_pMainWnd = nullptr;
    return false;
}

int CZevseekerApp::ExitInstance()
{
    if (m_hTavik) {
        FreeLibrary(m_hTavik);
        m_hTavik = nullptr;
        g_pfnGetZevList = nullptr;
    }
    return afx::CWinApp::ExitInstance();
}
