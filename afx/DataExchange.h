// Data exchange between a dialog's controls and its members (DoDataExchange entries).
#pragma once
#include <windows.h>
#include <string>

namespace afx {

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, bool save) : m_pDlgWnd(dlg), m_bSaveAndValidate(save) {}

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;

    // The control of the entry being exchanged; nullptr when the dialog has none with that id.
    HWND PrepareCtrl(UINT id);
    // Marks the exchange failed and gives the control of the failing entry the focus.
    void Fail();
    bool Failed() const { return m_failed; }

private:
    HWND m_lastCtrl = nullptr;
    bool m_failed = false;
};

// Text of a control; a missing control leaves the member unchanged.
void DDX_Text(CDataExchange* pDX, UINT id, std::wstring& value);
// Text into a fixed field of `size` characters, terminator included: a longer text is cut.
void DDX_Text(CDataExchange* pDX, UINT id, wchar_t* buffer, size_t size);
template <size_t N>
void DDX_Text(CDataExchange* pDX, UINT id, wchar_t (&buffer)[N]) { DDX_Text(pDX, id, buffer, N); }
// A decimal number; text that is not a number in int's range fails the exchange.
void DDX_Text(CDataExchange* pDX, UINT id, int& value);
// State of a check box: 0 clear, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, UINT id, int& value);
// Binds the control to `control` on the first load; later exchanges leave it bound.
void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control);

}  // namespace afx
