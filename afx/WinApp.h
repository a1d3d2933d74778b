// The application object: one global instance whose InitInstance does the program's work.
#pragma once
#include "afx/Wnd.h"

namespace afx {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // False ends the program without a message loop (a dialog-based program runs its dialog
    // modally inside InitInstance and returns false).
    virtual bool InitInstance() { return false; }
    // Called last; its result is the process's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    // The message loop, entered only when InitInstance returned true.
    virtual int Run();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    int m_nExitCode = 0;
};

// The one application object of the process, or nullptr.
CWinApp* AfxGetApp();
// Runs the application object as the program's entry point does; its exit code.
int AfxWinMain(HINSTANCE instance);
// Delivers one queued message (with modeless-dialog navigation); false on WM_QUIT.
bool PumpMessage();

}  // namespace afx
