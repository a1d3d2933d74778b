// Picture control that leaves out every pixel of pure red, so the dialog shows through.
#pragma once
#include "afx/Static.h"
#include "afx/MessageMap.h"

class CTransparentStatic : public afx::CStatic {
public:
    CTransparentStatic() = default;
    // Pixels of exactly this colour in the picture are not drawn.
    const COLORREF m_crKey = RGB(255, 0, 0);

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
