// Saves what a window shows on the screen as a BMP file under the build tree, for people to look at.
#include "tests/netsetter/Screenshot.h"
#include <cstdlib>
#include <vector>

bool SaveScreenshot(HWND window, const std::wstring& name)
{
    const char* build = std::getenv("KIT_BUILD_DIR");
    if (!build)
        return false;
    std::wstring dir = L"Z:";
    for (const char* c = build; *c; ++c)
        dir += *c == '/' ? L'\\' : wchar_t(*c);
    dir += L"\\screenshots";
    CreateDirectoryW(dir.c_str(), nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD size = DWORD(((w * 3 + 3) & ~3) * h);
    BITMAPFILEHEADER fh = {0x4D42, DWORD(sizeof(fh) + sizeof(bi) + size), 0, 0, DWORD(sizeof(fh) + sizeof(bi))};
    HANDLE f = CreateFileW((dir + L"\\" + name + L".bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, &fh, sizeof(fh), &n, nullptr) &&
              WriteFile(f, &bi, sizeof(bi), &n, nullptr) && WriteFile(f, bits, size, &n, nullptr);
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}
