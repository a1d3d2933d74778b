// Bitmap resources of the chosen resource language (a page picture may carry text).
#pragma once
#include <windows.h>

namespace afx {

// A device-dependent bitmap made from bitmap resource `id` of the resource language, with the
// fallbacks of FindResourceLang; nullptr when it is missing or malformed. The caller owns it.
HBITMAP LoadBitmapResource(UINT id, HINSTANCE module = nullptr);

}  // namespace afx
