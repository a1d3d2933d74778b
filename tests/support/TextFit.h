// Texts that a dialog would not show whole: each measured with the font it is drawn in, against
// the room its control gives it and against the other controls of the dialog.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The labels a skinned page draws itself: hidden statics whose texts it paints into their
// rectangles with its own font, without wrapping.
struct DrawnLabels {
    std::vector<HWND> labels;
    HFONT font = nullptr;
};

// One line for each text of the dialog's visible statics, push buttons, check boxes and radio
// buttons, and of the labels the page draws itself, that the screen does not show whole:
// - the text needs more room than its control gives it (a static wraps at words, a check box's
//   box and a push button's frame take their part, nothing reaches past the dialog);
// - a disabled button's text: the system draws it grey through a monochrome mask as large as the
//   text measures, so the text's monochrome letters must lie within that mask, or the last ones
//   are lost;
// - the text lies under another control or on another label's text.
// Empty when every text is whole. Measures once the dialog's thread has handled what was sent
// to it before.
std::vector<std::string> UnfitTexts(HWND dialog, const DrawnLabels& drawn = {});
// The lines above, one a line, for a failure message.
std::string Lines(const std::vector<std::string>& lines);
