// One octet field of the IPv4 entry control: digits only, navigation keys go to the control.
#pragma once
#include "afx/Edit.h"
#include "afx/MessageMap.h"

class CIPAddrCtl;

class CIPAddrEdit : public afx::CEdit {
public:
    CIPAddrEdit() = default;
    ~CIPAddrEdit() override = default;
    void SetOwnerControl(CIPAddrCtl* control) { m_pControl = control; }

    // Code of a field that holds three characters.
    static constexpr UINT kFieldFull = 45;

protected:
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

private:
    // The caret's character index in the field.
    int CaretIndex() const;
    CIPAddrCtl* m_pControl = nullptr;
};
