// The adapter choice page: shown when the PC has several usable network adapters; the chosen
// one is applied to the quick setup's context.
#pragma once
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "afx/MessageMap.h"
#include <string>

class CPellgroveDialog_Adapter : public CPellgroveDialog {
public:
    explicit CPellgroveDialog_Adapter(HWND parent);

    CPellgroveButton m_btnDetermine;
    CPellgroveButton m_btnBack;
    afx::CWnd m_cmbAdapter;
    std::wstring m_strDhcp;
    std::wstring m_strGateway;
    std::wstring m_strIp;
    std::wstring m_strMask;
    std::wstring m_strDns;

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSelchangeAdapter();

    DECLARE_MESSAGE_MAP()
};
