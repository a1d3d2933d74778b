// Dialogs from templates of the chosen resource language, modal or modeless.
#pragma once
#include "afx/Wnd.h"

namespace afx {

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; the value given to EndDialog, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly; false when the template is missing or creation fails.
    virtual bool Create(UINT templateId = 0, HWND parent = nullptr);
    void EndDialog(INT_PTR result);

    // Moves data between the controls and the members: save = true reads the controls.
    // False when a value did not validate (the control then has the focus).
    bool UpdateData(bool save = true);

    UINT m_nIDTemplate;
    HWND m_hParent;

    // Lets a modeless dialog handle its keyboard navigation; the message loops call it.
    static bool PreTranslateModeless(MSG& msg);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX) {}
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Lets go of the window: it no longer reaches this object.
    void Unbind(HWND hwnd);
    bool m_modal = false;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace afx
