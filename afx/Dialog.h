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
    // Ends a modal dialog with `result`; destroys a modeless one (RunModalLoop then returns `result`).
    void EndDialog(INT_PTR result);

    // Runs the thread's messages until this modeless dialog ends its loop or its window goes,
    // for a program whose main window is a dialog that must exist before it is shown (a
    // modal dialog runs its own loop in DoModal). Returns the code given to EndModalLoop or
    // EndDialog, -1 when there was none; a WM_QUIT ends the loop and stays queued.
    INT_PTR RunModalLoop();
    // RunModalLoop returns `result` once the current message is handled; the window stays.
    void EndModalLoop(INT_PTR result);
    // False once the loop has been ended or the window is gone, for handlers of late messages.
    bool ContinueModal() const { return m_hWnd && !m_endModalLoop; }

    // Moves data between the controls and the members: save = true reads the controls.
    // False when a value did not validate (the control then has the focus).
    bool UpdateData(bool save = true);

    UINT m_nIDTemplate;
    HWND m_hParent;

    // A modal dialog's PreTranslateMessage, called from the message filter of DoModal.
    bool FilterModalMessage(MSG& msg) { return m_modal && PreTranslateMessage(msg); }

    // Lets a modeless dialog handle its keyboard navigation; the message loops call it.
    static bool PreTranslateModeless(MSG& msg);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX) {}
    // RunModalLoop offers each message here before dispatching it; true keeps it from dispatch.
    virtual bool PreTranslateMessage(MSG& msg) { return false; }
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Lets go of the window: it no longer reaches this object.
    void Unbind(HWND hwnd);
    bool m_modal = false;
    bool m_endModalLoop = false;
    INT_PTR m_modalResult = -1;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace afx
