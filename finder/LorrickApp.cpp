// The finder's application object: single instance, command line, OS check, library binding.
#include "finder/LorrickApp.h"
#include "afx/MessageBox.h"
#include "afx/NamedMutex.h"
#include "afx/ResourceLanguage.h"
#include "afx/SystemFiles.h"
#include "finder/LorrickRes.h"
#include "finder/ZevseekerDlg.h"
#include "frame/UiLanguage.h"
#include <shellapi.h>

namespace {

// Created in this order before the program runs: instance mutex, application, resolver mutex.
afx::CNamedMutex g_instanceMutex(L"{LRK719967F0-DCC6-49b5-9C61-DE91175C3187}");
CZevseekerApp theApp;
// The resolver mutex has no name: it only orders this process's own threads.
afx::CNamedMutex g_resolverMutex(nullptr);

// Every start-up message is the framework's box: OK, the program's name, its default icon.
void ShowMessage(UINT id) { afx::AfxMessageBox(id); }

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

    // Clears the ARP cache so that a device that changed its address is reached anew. The
    // system's own arp by its full path: every account may add files to the finder's folder.
    std::wstring arp = afx::SystemFilePath(L"arp.exe");
    if (!arp.empty())
        ShellExecuteW(nullptr, L"open", arp.c_str(), L"-d", nullptr, SW_HIDE);

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
    if (!m_tavik.Load()) {
        ShowMessage(IDS_NO_LIBRARY);
        return false;
    }

    CZevseekerDlg dlg(m_cmdInfo.m_nMode, m_cmdInfo.m_szTarget, m_tavik);
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
    m_tavik.Free();
    return afx::CWinApp::ExitInstance();
}
