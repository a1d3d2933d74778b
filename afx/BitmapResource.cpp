// Bitmap resources of the chosen resource language (a page picture may carry text).
#include "afx/BitmapResource.h"
#include "afx/ResourceLanguage.h"

namespace afx {

// Bytes of the colour table (or bit masks) that follow the header of a packed DIB.
static DWORD ColourTableBytes(const BITMAPINFOHEADER& h)
{
    if (h.biBitCount <= 8)
        return (h.biClrUsed ? h.biClrUsed : (DWORD(1) << h.biBitCount)) * sizeof(RGBQUAD);
    DWORD masks = (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) ? 3 * sizeof(DWORD) : 0;
    return masks + h.biClrUsed * sizeof(RGBQUAD);
}

HBITMAP LoadBitmapResource(UINT id, HINSTANCE module)
{
    if (!module)
        module = ::GetModuleHandleW(nullptr);
    HRSRC res = FindResourceLang(module, MAKEINTRESOURCEW(2) /* RT_BITMAP */, MAKEINTRESOURCEW(id));
    HGLOBAL mem = res ? ::LoadResource(module, res) : nullptr;
    const BYTE* data = mem ? static_cast<const BYTE*>(::LockResource(mem)) : nullptr;
    if (!data)
        return nullptr;
    DWORD size = ::SizeofResource(module, res);
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    if (size < sizeof(BITMAPINFOHEADER) || h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > size ||
        h->biWidth <= 0 || h->biHeight == 0 || h->biBitCount == 0 || h->biBitCount > 32)
        return nullptr;
    DWORD bitsAt = h->biSize + ColourTableBytes(*h);
    if (bitsAt >= size)
        return nullptr;
    if (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS) {
        // Uncompressed rows are padded to four bytes; the resource must hold all of them.
        unsigned long long stride = ((unsigned long long)h->biWidth * h->biBitCount + 31) / 32 * 4;
        long long rows = h->biHeight < 0 ? -(long long)h->biHeight : h->biHeight;
        if (stride * (unsigned long long)rows > size - bitsAt)
            return nullptr;
    }
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = ::CreateDIBitmap(screen, h, CBM_INIT, data + bitsAt, reinterpret_cast<const BITMAPINFO*>(h),
                                   DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bmp;
}

}  // namespace afx
