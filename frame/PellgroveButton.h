// Picture push button of the skinned pages: its normal picture until the mouse is over it,
// then the picture of its state (pressed, focused, disabled).
#pragma once
#include "afx/BitmapButton.h"
#include <string>

class CPellgroveButton : public afx::CBitmapButton {
public:
    CPellgroveButton();
    ~CPellgroveButton() override;

    // Makes the button owner-drawn and loads its four pictures (0: none); sized to the normal
    // one. A normal picture that cannot be loaded leaves the button as it was.
    void SetBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled);
    // The same with bitmap files, for pages whose pictures live beside the program: loads
    // them in order and stops at the first that fails (GetFailedFile names it); FALSE then.
    // A button with file pictures draws the one of its state itself, disabled before focus
    // before selected, and nothing for a picture that did not load.
    BOOL LoadBitmapFiles(const wchar_t* normal, const wchar_t* selected, const wchar_t* focus,
                         const wchar_t* disabled);
    std::wstring GetFailedFile() const { return m_strFailedFile; }

    // Resizes the button to its normal picture, keeping its place, and repaints it.
    void SizeToBitmap();
    // The same with file picture number `index` (0 normal .. 3 disabled).
    void SizeToBitmap(int index);
    // Moves the button to (x, y) of its parent's client area, keeping its size.
    void MoveTo(int x, int y, bool repaint = true);

    bool IsHovering() const { return m_bHovering != 0; }

protected:
    void DrawItem(DRAWITEMSTRUCT* item) override;
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    LRESULT OnMouseLeave();

    BITMAP m_bmNormal{};
    afx::CBitmap m_normal;
    int m_bHovering = 0;

    // File pictures in load order (normal, selected, focus, disabled).
    afx::CBitmap m_files[4];
    BITMAP m_bmFiles[4]{};
    int m_nFiles = 0;
    bool m_bFromFiles = false;
    std::wstring m_strFailedFile;

    DECLARE_MESSAGE_MAP()

private:
    void ResizeTo(const BITMAP& bm);
};
