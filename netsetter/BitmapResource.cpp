// Bitmaps of the resource language, for pictures that carry text in four languages.
#include "netsetter/BitmapResource.h"
#include "afx/ResourceLanguage.h"

HBITMAP LoadBitmapLang(UINT id)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    HRSRC res = afx::FindResourceLang(module, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(id));
    if (!res)
        return nullptr;
    DWORD size = SizeofResource(module, res);
    HGLOBAL mem = LoadResource(module, res);
    const auto* info = mem ? static_cast<const BITMAPINFO*>(LockResource(mem)) : nullptr;
    if (!info || size < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    DWORD colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0);
    DWORD offset = h.biSize + colours * sizeof(RGBQUAD) + (h.biCompression == BI_BITFIELDS ? 12 : 0);
    if (offset >= size)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBitmap(screen, &h, CBM_INIT, reinterpret_cast<const BYTE*>(info) + offset, info,
                                 DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bmp;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}
