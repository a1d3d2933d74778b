// Bitmaps of the resource language, for pictures that carry text in four languages.
#pragma once
#include <windows.h>

// The bitmap resource `id` of the chosen language (falling back as strings do), as a
// device-dependent bitmap the caller owns; nullptr when there is none.
HBITMAP LoadBitmapLang(UINT id);
// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
