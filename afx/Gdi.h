// Owned GDI objects and scoped device contexts and selections; none of them can be copied.
#pragma once
#include <windows.h>

namespace afx {

// An owned GDI object of type T (HBRUSH, HFONT, HBITMAP, HPEN), deleted with its owner.
template <typename T>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(T h) : m_handle(h) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    operator T() const { return m_handle; }
    T GetSafeHandle() const { return m_handle; }
    bool Attach(T h) { DeleteObject(); m_handle = h; return h != nullptr; }
    T Detach() { T h = m_handle; m_handle = nullptr; return h; }
    void DeleteObject() { if (m_handle) ::DeleteObject(m_handle); m_handle = nullptr; }

protected:
    T m_handle = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    bool CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
};

class CFont : public CGdiObject<HFONT> {
public:
    bool CreateFontIndirect(const LOGFONTW& lf) { return Attach(::CreateFontIndirectW(&lf)); }
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    bool LoadBitmap(UINT id, HINSTANCE module = nullptr)
    {
        return Attach(::LoadBitmapW(module ? module : ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
    }
    bool GetBitmap(BITMAP& bm) const { return m_handle && ::GetObjectW(m_handle, sizeof(bm), &bm) == sizeof(bm); }
};

class CPen : public CGdiObject<HPEN> {
public:
    bool CreatePen(int style, int width, COLORREF c) { return Attach(::CreatePen(style, width, c)); }
};

// BeginPaint .. EndPaint of a WM_PAINT handler.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd) { m_hdc = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hdc; }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// GetDC .. ReleaseDC.
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~CClientDC() { if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// A memory DC compatible with another; deleted with its owner.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC like) : m_hdc(::CreateCompatibleDC(like)) {}
    ~CMemoryDC() { if (m_hdc) ::DeleteDC(m_hdc); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HDC m_hdc;
};

// Selects an object into a DC and puts the previous one back, so an owned object is never
// deleted while selected.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~CSelectObject() { if (m_old) ::SelectObject(m_dc, m_old); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace afx
