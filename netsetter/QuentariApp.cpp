// The network setter's application object: single instance, language, Winsock, sequence, main dialog.
#include <winsock2.h>
#include "netsetter/QuentariApp.h"
#include "afx/MessageBox.h"
#include "afx/NamedMutex.h"
#include "afx/ResourceLanguage.h"
#include "frame/UiLanguage.h"
#include "netsetter/QuentariDlg.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include <cstdlib>
#include <ctime>

CQuentariApp& TheApp()
{
    return *static_cast<CQuentariApp*>(afx::AfxGetApp());
}

LANGID ChooseUiLanguage()
{
    return GetUILanguage();
}

uint32_t SequenceFromRandom(int high, int low)
{
    uint32_t seq = (uint32_t(high) << 16) + uint32_t(low);
    return seq == 0 ? 0x33333333u : seq;
}

bool CQuentariApp::InitInstance()
{
    LANGID lang = ChooseUiLanguage();
    if (lang != 1028 && lang != 1041 && lang != 2052)
        lang = 1033;
    SetThreadLocale(MAKELCID(lang, SORT_DEFAULT));
    afx::SetResourceLanguage(lang);

    if (InstanceMutexExisted()) {
        HandOver();
        return false;
    }

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) {
        afx::MessageBoxRes(IDS_NO_WINSOCK, IDS_TITLE, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        return false;
    }

    srand(unsigned(time(nullptr)));
    int high = rand();
    m_nSndSeq = SequenceFromRandom(high, rand());

    // Modeless under a modal loop of its own, so Alt+V reaches PreTranslateMessage.
    CQuentariDlg dlg;
    m_pMainWnd = &dlg;
    if (dlg.Create(IDD_QUENTARI, nullptr)) {
        dlg.ShowWindow(SW_SHOW);
        dlg.RunModalLoop();
    }
    if (dlg.IsWindow())
        dlg.DestroyWindow();
    m_pMainWnd = nullptr;
    return false;
}

void CQuentariApp::HandOver()
{
    afx::CNamedMutex second(L"{Zev2nd719967F0-DCC6-49b5-9C61-DE91175C3187}");
    if (!second.Created() || second.AlreadyExisted())
        return;  // a third copy: the second one is handing over already
    m_strTitle = afx::LoadStr(IDS_TITLE);
    HWND running = FindWindowW(nullptr, m_strTitle.c_str());
    if (running)
        SendMessageW(running, WM_QT_SHOW_WINDOW, 0, 0);
    else
        afx::MessageBoxRes(IDS_ALREADY_RUNNING, IDS_TITLE, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

int CQuentariApp::ExitInstance()
{
    m_strTitle.clear();
    m_strTitle.shrink_to_fit();
    return afx::CWinApp::ExitInstance();
}
