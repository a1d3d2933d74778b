// The application object: one global instance whose InitInstance does the program's work.
#include "afx/WinApp.h"
#include "afx/Dialog.h"
#include <commctrl.h>

namespace afx {

static CWinApp* g_app = nullptr;

CWinApp::CWinApp()
{
    if (!g_app)
        g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

bool PumpMessage()
{
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        if (msg.message == WM_QUIT)
            ::PostQuitMessage(int(msg.wParam));
        return false;
    }
    if (!CDialog::PreTranslateModeless(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

int CWinApp::Run()
{
    MSG msg;
    BOOL r;
    while ((r = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!CDialog::PreTranslateModeless(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (r == 0)
        m_nExitCode = int(msg.wParam);
    return ExitInstance();
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    bool started = false;
    try {
        started = app->InitInstance();
    } catch (...) {
        ::OutputDebugStringW(L"afx: exception in InitInstance\n");
        app->m_nExitCode = 1;
    }
    if (!started) {
        if (app->m_pMainWnd && app->m_pMainWnd->IsWindow())
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

}  // namespace afx
