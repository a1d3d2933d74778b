// The searching box: the finder's one visible window while a search runs, with its Stop button.
#pragma once
#include "afx/Dialog.h"

// Knows its owner only by window: it reports Stop and its own end by messages.
class ZevMsgBox : public afx::CDialog {
public:
    enum : UINT {
        kMsgStopPressed = WM_APP + 0x10,  // sent before the box closes
        kMsgBoxGone = WM_APP + 0x11,      // sent as the box is destroyed, lParam = the box
    };

    explicit ZevMsgBox(HWND owner);
    // Creates the box from its template; it shows itself.
    bool Create();

protected:
    void OnOK() override { DestroyWindow(); }
    // Stop: the owner stops the search and ends; then the box closes.
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    HWND m_hOwner;
};
