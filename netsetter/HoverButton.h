// Image push button of the network setter's dialogs: four pictures, hand cursor, idle while busy.
#pragma once
#include "afx/Button.h"
#include "afx/MessageMap.h"

// What a hover button asks the application's main window, which runs the operations.
class CHoverButtonOwner {
public:
    virtual ~CHoverButtonOwner() = default;
    // True while a search or a setup runs: buttons show the wait cursor and ignore presses.
    virtual bool ButtonsWait() const = 0;
};

class CHoverButton : public afx::CButton {
public:
    CHoverButton() = default;
    ~CHoverButton() override;

    // Creates the owner-drawn child button over `rect`; the pictures come with LoadButtonBitmaps.
    virtual bool Create(HWND parent, UINT id, const RECT& rect, UINT normal, UINT pressed, UINT focused,
                        UINT disabled);
    // Loads the pictures (0: none) and sizes the button to the normal one without moving it;
    // false when the normal picture is missing (the button then keeps its size).
    bool LoadButtonBitmaps(UINT id, HWND parent, UINT normal, UINT pressed, UINT focused, UINT disabled);
    // Takes the place (and tab position) of the dialog's push button `id`, which goes; a width
    // other than 0 keeps the placeholder's right edge. False when the dialog has no such button.
    bool ReplaceDlgItem(HWND dialog, UINT id, UINT normal, UINT pressed, UINT focused, UINT disabled,
                        int width = 0);

protected:
    void OnMouseMove(UINT flags, POINT p);
    void OnLButtonDown(UINT flags, POINT p);
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    void DrawItem(const DRAWITEMSTRUCT& item);
    DECLARE_MESSAGE_MAP()

private:
    // The main window's answer; no main window, or one of another kind, never waits.
    static bool MainDialogBusy();
    void FreeBitmaps();
    UINT m_nID = 0;
    HCURSOR m_hHand = nullptr;
    HBITMAP m_bitmaps[4] = {};  // normal, pressed, focused, disabled
};
