// The searching box: the finder's one visible window while a search runs, with its Stop button.
#pragma once
#include "afx/Dialog.h"

class CZevseekerDlg;

class ZevMsgBox : public afx::CDialog {
public:
    explicit ZevMsgBox(CZevseekerDlg* parent);
    // Creates the box from its template; it shows itself.
    bool Create();

protected:
    void OnOK() override { DestroyWindow(); }
    // Stop: the main dialog stops the search and ends; then the box closes.
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    CZevseekerDlg* m_pParent;
};
