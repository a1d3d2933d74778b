// The network setter's IPv4 entry control: four octet fields in one bordered window (class "IPAddr").
#pragma once
#include "afx/Wnd.h"
#include "afx/MessageMap.h"
#include "netsetter/IPAddrEdit.h"
#include <cstdint>
#include <string>

namespace afx { class CDataExchange; }

// What the control exchanges: the four octets, most significant first, and the 1-based
// number of the field that failed (0 when none did).
struct IPAddrRecord {
    uint16_t octets[4];
    int failedField;
};

class CIPAddrCtl : public afx::CWnd {
public:
    enum Role { kRoleAddress = 0, kRoleMask = 1, kRoleGateway = 2 };

    CIPAddrCtl() = default;
    ~CIPAddrCtl() override = default;

    // Registers the window class "IPAddr" (once per process; dialog templates name it).
    static bool RegisterClass();
    // The control object of a window of the class, or nullptr.
    static CIPAddrCtl* FromHandle(HWND hwnd);

    void SetRole(int role) { m_nRole = role; }
    int GetRole() const { return m_nRole; }

    // Reads the four fields into `record`: 1 when the address is complete and valid, else 0
    // with the failed field in the record; with `report` the bad field is focused and the
    // parent gets the message text (WM_QT_ADDRESS_MESSAGE).
    int GetAddress(int report, IPAddrRecord* record);
    int SetAddress(const IPAddrRecord* record);
    int SetReadOnly(int flag);

    // A navigation key of field `field` (1-4): moves between the fields and checks them.
    void OnFieldKey(UINT code, UINT repeat, UINT flags, int field);

    // True when the focus moved to `field` (1-4) by itself, from a full field, and nothing was
    // typed since; the question forgets the move.
    bool TakeAutoMove(int field)
    {
        bool moved = field != 0 && m_nAutoMoved == field;
        m_nAutoMoved = 0;
        return moved;
    }

    // Gives field `field` (1-4) the focus with its text selected.
    void FocusBadField(int field) { FocusField(field - 1, true); }

    // The text the control last reported (string of the failure, formatted).
    static const wchar_t* LastMessage();

protected:
    int OnCreate(CREATESTRUCTW* cs);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(HWND old);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void OnEnable(BOOL enable);
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

private:
    static LRESULT CALLBACK ClassProc(HWND, UINT, WPARAM, LPARAM);
    // The field's value: 0-255, -1 when empty, a larger number when out of range or when the
    // text does not start with a digit (kNotANumber).
    int FieldValue(int index) const;
    static constexpr int kNotANumber = 0x7FFFFFFF;
    // String 49 for a bad field: its value, or its text when that is no number.
    std::wstring InvalidEntryText(int index) const;
    void FocusField(int index, bool selectAll);
    void Report(int index, UINT stringId);
    HWND Holder() const { return GetParent(); }

    CIPAddrEdit m_fields[4];
    RECT m_dots[3] = {};
    int m_bEnabled = 1;
    int m_bReadOnly = 0;
    int m_bNoValidation = 0;
    int m_nRole = kRoleAddress;
    int m_nAutoMoved = 0;  // the field the focus last moved to by itself, 0 for none
    HFONT m_hFont = nullptr;
};

// Dialog data exchange of an address control: towards the control SetAddress, from it
// GetAddress with the report flag; an incomplete or invalid address fails the exchange and
// leaves the octets unchanged.
void DDX_IPAddress(afx::CDataExchange* pDX, UINT id, uint16_t octets[4]);
