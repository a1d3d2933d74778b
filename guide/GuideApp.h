// The setup guide's application object: OLE, language, single instance, command line, the guide.
#pragma once
#include "afx/NamedMutex.h"
#include "afx/WinApp.h"
#include "frame/VersionInfoReader.h"
#include "guide/CommandLine.h"
#include <memory>

class CPellgroveApp : public afx::CWinApp {
public:
    // Runs the guide's dialog; false in every case, so the program ends after it.
    bool InitInstance() override;
    // The user's UI language, folded to one of the four the guide ships.
    virtual LANGID GetUILanguage();

    CVersionInfoReader m_versionInfo;
    CPellgroveCommandLineInfo m_cmdInfo;

private:
    // Held until the process ends.
    std::unique_ptr<afx::CNamedMutex> m_mutex;
};

// The one application object of Marrowick.exe.
CPellgroveApp& GetGuideApp();
