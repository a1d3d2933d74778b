// Texts of a dialog's buttons and statics that the screen would not show whole.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// One line for each visible button or static whose text, in the control's own font, is wider than
// the room the control leaves it (a check box's or radio button's box taken off), and for each
// label a skinned page draws itself in its label font that is wider than the label; for a text
// of one line whose letters, drawn on a monochrome bitmap, ink past that room; and for each
// disabled button whose letters run past the width the text measures: the system draws a
// disabled text grey through a mask that wide, and cuts off what runs past it. Picture buttons
// draw no text and are left out. Empty when every text is whole.
std::vector<std::string> UnfitTexts(HWND dialog);
// The lines above, one a line, for a failure message.
std::string Lines(const std::vector<std::string>& lines);
