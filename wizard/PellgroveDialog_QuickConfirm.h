// The confirmation page: the device settings about to be written, the completion options, and
// the way to the settings page or back to the menu.
#pragma once
#include "afx/Button.h"
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "afx/MessageMap.h"
#include <string>

class PellgroveWait;

class CPellgroveDialog_QuickConfirm : public CPellgroveDialog {
public:
    // pageRect: where the page opens and where it records its moves.
    CPellgroveDialog_QuickConfirm(HWND parent, RECT* pageRect);

    // The comment scrolls once per visit when it is longer than this.
    static constexpr int kCommentVisibleChars = 24;
    static constexpr UINT_PTR kCommentTimer = 1015;
    static constexpr UINT kCommentTickMs = 300;

    afx::CButton m_chkManualCopy;
    CPellgroveButton m_btnCompletion;
    CPellgroveButton m_btnSetting;
    CPellgroveButton m_btnBackToTop;
    int m_nCommentScroll = 0;
    std::wstring m_strName;
    std::wstring m_strComment;
    std::wstring m_strWorkgroup;
    std::wstring m_strDhcp;
    std::wstring m_strGateway;
    std::wstring m_strIp;
    std::wstring m_strDns;
    std::wstring m_strMask;
    // The USB-stick option rows: exchanged, never filled on this page.
    std::wstring m_strOptions[7];
    std::wstring m_strNtp;
    std::wstring m_strNtpServer;
    PellgroveWait* m_pWait = nullptr;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // The completion.
    void OnOK() override;
    void InitControls();
    void ArrangeControls();
    void ShowValues();
    void OnClickedBackToTop();
    void OnTimer(UINT_PTR id);

    RECT* m_pPageRect;

    DECLARE_MESSAGE_MAP()
};
