// Modal dialog that asks for a device's logon password and keeps its Base64 form.
#pragma once
#include <string>
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "netsetter/HoverButton.h"

class CLoginPasswordDlg : public afx::CDialog {
public:
    CLoginPasswordDlg();
    ~CLoginPasswordDlg() override;

    // Set by the owner before each run: 20 for a storage device, else 15.
    int m_nMaxPasswordLength = 15;
    std::wstring m_strPassword;
    // Valid after OK: the password in the thread's ANSI code page and its Base64 text.
    std::string m_strPasswordAnsi;
    std::wstring m_strEncodedPassword;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool PreTranslateMessage(MSG& msg) override { return false; }
    void OnPaint();
    void OnPasswordChange();
    void OnPasswordUpdate() {}
    DECLARE_MESSAGE_MAP()

private:
    void LayoutButtons();
    CHoverButton m_btnOK, m_btnCancel;
    HICON m_hIcon = nullptr;
    bool m_bInChange = false;
};
