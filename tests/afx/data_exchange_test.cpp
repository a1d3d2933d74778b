// Data exchange between dialog members and their controls, fixed text fields included.
#include "tests/afx/TestDialog.h"
#include <gtest/gtest.h>

class DataExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create()); }
    void TearDown() override { dlg.DestroyWindow(); }
    TestDialog dlg;
};

TEST_F(DataExchange, MembersReachTheControlsAndComeBack)
{
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT), L"first");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_NUMBER), L"7");
    EXPECT_EQ(::IsDlgButtonChecked(dlg, IDC_CHECK), 1u);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_LABEL), L"field");

    dlg.SetDlgItemText(IDC_EDIT, L"日本語 text");
    dlg.SetDlgItemText(IDC_NUMBER, L" -12 ");
    ::CheckDlgButton(dlg, IDC_CHECK, BST_UNCHECKED);
    dlg.SetDlgItemText(IDC_LABEL, L"");
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_text, L"日本語 text");
    EXPECT_EQ(dlg.m_number, -12);
    EXPECT_EQ(dlg.m_checked, 0);
    EXPECT_STREQ(dlg.m_field, L"");
}

TEST_F(DataExchange, NumbersThatAreNotIntsFailAndKeepTheMember)
{
    for (const wchar_t* bad : {L"", L"12x", L"x", L"99999999999", L"1.5"}) {
        dlg.SetDlgItemText(IDC_NUMBER, bad);
        EXPECT_FALSE(dlg.UpdateData(true)) << bad;
        EXPECT_EQ(dlg.m_number, 7) << bad;
    }
    dlg.SetDlgItemText(IDC_NUMBER, L"2147483647");
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_number, 2147483647);
}

TEST_F(DataExchange, LongTextIsCutToTheFixedField)
{
    std::wstring longText(400, L'a');
    longText[258] = L'b';
    longText[259] = L'c';
    dlg.SetDlgItemText(IDC_LABEL, longText);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(wcslen(dlg.m_field), 259u);
    EXPECT_EQ(dlg.m_field[258], L'b');
    EXPECT_STREQ(dlg.m_fieldGuard, L"GGGGGGG");
}

TEST_F(DataExchange, AFieldWithoutTerminatorIsNotReadPastItsEnd)
{
    wmemset(dlg.m_field, L'z', 260);
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_LABEL), std::wstring(260, L'z'));
}

TEST_F(DataExchange, BoundControlsStayBoundAcrossExchanges)
{
    HWND edit = dlg.m_edit.m_hWnd;
    ASSERT_EQ(edit, dlg.GetDlgItem(IDC_EDIT));
    dlg.UpdateData(true);
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.m_edit.m_hWnd, edit);
    dlg.m_progress.SetRange(0, 9);
    dlg.m_progress.SetPos(20);
    EXPECT_EQ(dlg.m_progress.GetPos(), 9) << "the bar clamps";
}
