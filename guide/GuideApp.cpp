// The setup guide's application object: OLE, language, single instance, command line, the guide.
#include "guide/GuideApp.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "frame/UiLanguage.h"
#include "guide/GuideDialog.h"
#include "resources/marrowick/resource.h"
#include <ole2.h>

CPellgroveApp& GetGuideApp()
{
    return *static_cast<CPellgroveApp*>(afx::AfxGetApp());
}

LANGID CPellgroveApp::GetUILanguage()
{
    return ::GetUILanguage();
}

bool CPellgroveApp::InitInstance()
{
    // The animated pictures load through OLE.
    ::OleInitialize(nullptr);

    LANGID lang = GetUILanguage();
    if (lang != 1028 && lang != 1041 && lang != 2052)
        lang = 1033;
    ::SetThreadLocale(MAKELCID(lang, SORT_DEFAULT));
    afx::SetResourceLanguage(lang);

    m_mutex = std::make_unique<afx::CNamedMutex>(afx::LoadStr(IDS_MUTEX_GUIDE).c_str(), true);
    if (m_mutex->AlreadyExisted())
        return false;

    // The wizard passes the model, one blank and the start mode.
    std::wstring tail = CommandLineTail(::GetCommandLineW());
    if (tail.empty() || CountBlankRounds(tail) != 1) {
        afx::AfxMessageBox(IDS_STARTUP_FAILURE);
        return false;
    }
    afx::ParseCommandLine(m_cmdInfo, ::GetCommandLineW());

    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    m_versionInfo.Read(path);

    {
        CPellgroveDialog_Main dialog(nullptr);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return false;
}
