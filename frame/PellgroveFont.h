// Font of the skinned pages' label texts, with its face chosen by the thread locale.
#pragma once
#include "afx/Gdi.h"

class CPellgroveFont : public afx::CFont {
public:
    // The wizard's labels are 10 pixels high; the guide's pages use 12.
    static const int kWizardHeight = 10;
    static const int kGuideHeight = 12;

    explicit CPellgroveFont(int height = kWizardHeight);

    // Tries the locale's faces in order and keeps the first that can be created; 1 when one
    // could, otherwise the result of the last attempt (the object is then empty).
    int CreateDialogFont(int height, int weight, BYTE italic, BYTE underline);
    // Replaces the held font by one of `face`; non-zero on success.
    int CreateFace(int height, int weight, BYTE italic, BYTE underline, const wchar_t* face);
};
