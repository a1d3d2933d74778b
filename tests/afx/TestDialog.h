// A dialog of the test template with a few members, shared by the class-layer tests.
#pragma once
#include "afx/DataExchange.h"
#include "afx/Dialog.h"
#include "afx/Edit.h"
#include "afx/MessageMap.h"
#include "afx/ProgressCtrl.h"
#include "tests/afx/TestIds.h"
#include <functional>
#include <string>

class TestDialog : public afx::CDialog {
public:
    TestDialog() : afx::CDialog(IDD_TEST) {}

    std::wstring m_text = L"first";
    int m_number = 7;
    int m_checked = 1;
    wchar_t m_field[260] = L"field";
    wchar_t m_fieldGuard[8] = L"GGGGGGG";  // lies right after the field: an overrun lands here
    afx::CEdit m_edit;
    afx::CProgressCtrl m_progress;
    std::function<void(TestDialog&)> onInit;

    void DoDataExchange(afx::CDataExchange* pDX) override
    {
        afx::DDX_Text(pDX, IDC_EDIT, m_text);
        afx::DDX_Text(pDX, IDC_NUMBER, m_number);
        afx::DDX_Check(pDX, IDC_CHECK, m_checked);
        afx::DDX_Text(pDX, IDC_LABEL, m_field);
        afx::DDX_Control(pDX, IDC_EDIT, m_edit);
        afx::DDX_Control(pDX, IDC_PROGRESS, m_progress);
    }
    bool OnInitDialog() override
    {
        bool r = afx::CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return r;
    }
};
