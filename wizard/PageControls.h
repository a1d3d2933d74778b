// Small helpers the wizard's pages share: radio groups and length checks in the data exchange,
// the IP-address control, placing and showing controls by id, message texts with %1.
#pragma once
#include "afx/DataExchange.h"
#include "afx/Wnd.h"
#include <commctrl.h>
#include <cstdint>
#include <string>

// Index of the checked radio button in the group that starts at firstId (-1: none); loading
// checks the radio button at that index and clears the others. Other controls of the group
// count for nothing.
void DDX_Radio(afx::CDataExchange* pDX, UINT firstId, int& value);
// When saving, a text longer than limit shows string 63 with the limit and fails the exchange;
// the caller stops its exchange there.
void DDV_MaxCharsText(afx::CDataExchange* pDX, const std::wstring& value, int limit);

// Every "%1" of text replaced by arg.
std::wstring FormatArg(const std::wstring& text, const std::wstring& arg);
// The wizard's title for captions; empty outside the wizard program.
std::wstring ApplicationTitle();

// Moves and sizes a control of dialog, repainting; the control is also shown or hidden.
void PlaceControl(HWND dialog, UINT id, int x, int y, int width, int height);
void ShowControl(HWND dialog, UINT id, bool show);
void EnableControl(HWND dialog, UINT id, bool enable);

// The system's IP-address control.
class CIpAddressCtrl : public afx::CWnd {
public:
    // The number of non-blank fields; the address in host order.
    int GetAddress(uint32_t& address) const;
    void SetAddress(uint32_t address) { SendMessage(IPM_SETADDRESS, 0, LPARAM(address)); }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
};
