// The main menu: the wizard's first window, open for the whole run; quick setup, support
// software, the medium's folder, the autorun choice and close.
#pragma once
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "afx/MessageMap.h"
#include <string>

class QuickSetupContext;

class CPellgroveDialog_Main : public CPellgroveDialog {
public:
    explicit CPellgroveDialog_Main(HWND parent);

    // 1 on Win32s, Windows 9x and Windows NT before 5.0.
    static int IsUnsupportedOS();

    // The quick setup (the command of the quick button): checks, page loop, settings file, guide.
    void OnClickedQuick();
    // 1 when the pages may open; 0 after its message, or when the adapter choice was cancelled.
    virtual int PrepareQuickSetup(QuickSetupContext& context);
    // One modal run of a page of the loop; 0 for a page number that has no page.
    virtual INT_PTR RunPage(int page, QuickSetupContext* context, RECT* pageRect);
    // Starts Guide_File from the installed guide folder and ends the menu, or exits with code 1.
    void LaunchGuide();

    std::wstring m_strProgramFile;      // own path below the drive root
    std::wstring m_strAutorunFile;      // drive root + "Autorun.inf" (normal mode)
    std::wstring m_strDriveRoot;        // up to and including the first backslash
    std::wstring m_strSupportSoftware;  // drive root + SupportSoftPath
    std::wstring m_strUsbText;          // static 1144 in USB-stick mode
    CPellgroveButton m_btnClose;
    CPellgroveButton m_btnSupport;
    CPellgroveButton m_btnFolder;
    CPellgroveButton m_btnWizard;  // placed but never shown
    CPellgroveButton m_btnQuick;
    int m_bAutorun = 0;
    // Where the pages of a quick setup are; all zero until a page has placed itself.
    RECT m_rcPage = {};

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnOpenFolder();
    void OnSupportSoftware();
    // A message box of the quick setup: owned by the menu, caption "error", OK only.
    void ShowError(UINT textId);

    DECLARE_MESSAGE_MAP()
};
