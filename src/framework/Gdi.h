// Small RAII wrappers for GDI: owning object handles, device contexts, and a
// scoped selection that puts the previous object back when it ends.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <utility>

// Deletes a GDI object of any kind (DeleteObject takes them all).
template <class H>
BOOL WINAPI DeleteGdiObject(H object)
{
    return ::DeleteObject(object);
}

// Owns one GDI object (brush, pen, font, bitmap, palette, region) and deletes
// it at the end. Empty when the handle is null.
template <class H>
using GdiObject = UniqueResource<H, DeleteGdiObject<H>>;

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Palette = GdiObject<HPALETTE>;

// Selects an object into a device context for the length of a scope.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard()
    {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Selects a palette (SelectPalette) for the length of a scope.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE pal, BOOL background)
        : m_dc(dc), m_old(pal ? ::SelectPalette(dc, pal, background) : nullptr) {}
    ~PaletteGuard()
    {
        if (m_old) ::SelectPalette(m_dc, m_old, FALSE);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC m_dc;
    HPALETTE m_old;
};

// A DC got with GetDC/GetWindowDC, released at the end. A null window means
// the whole screen.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd, bool wholeWindow = false)
        : m_hwnd(hwnd), m_dc(wholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
    ~WindowDC()
    {
        if (m_dc) ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory DC compatible with another DC (or the screen), deleted at the end.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : m_dc(::CreateCompatibleDC(compatible)) {}
    ~MemoryDC()
    {
        if (m_dc) ::DeleteDC(m_dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// BeginPaint/EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_ps); }
    ~PaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
    PAINTSTRUCT m_ps{};
};

// Keeps the DC's state (colours, modes, selections) and restores it at the end.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~SavedDC()
    {
        if (m_saved) ::RestoreDC(m_dc, m_saved);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// Fills a rectangle with one colour (through the DC's background colour,
// which is put back afterwards).
inline void FillSolidRect(HDC dc, int x, int y, int cx, int cy, COLORREF color)
{
    COLORREF old = ::SetBkColor(dc, color);
    RECT rc = {x, y, x + cx, y + cy};
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// A one-pixel frame: top and left edges in one colour, bottom and right in
// another (sunken or raised look).
inline void Draw3dRect(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    int x = rc.left, y = rc.top, cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    FillSolidRect(dc, x, y, cx - 1, 1, topLeft);
    FillSolidRect(dc, x, y, 1, cy - 1, topLeft);
    FillSolidRect(dc, x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(dc, x, y + cy - 1, cx, 1, bottomRight);
}

// A 32-bit top-down DIB section with direct access to its pixels, selected
// into its own memory DC: the canvas that drawing tests read back.
class DibCanvas {
public:
    DibCanvas(int width, int height)
        : m_width(width), m_height(height), m_dc(nullptr)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap.Reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<DWORD*>(bits);
        if (m_bitmap && m_dc) m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~DibCanvas()
    {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The pixel at (x, y) as a COLORREF (0x00BBGGRR).
    COLORREF Pixel(int x, int y) const
    {
        ::GdiFlush();
        DWORD v = m_bits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    void Fill(COLORREF color)
    {
        Brush brush(::CreateSolidBrush(color));
        RECT rc = {0, 0, m_width, m_height};
        ::FillRect(m_dc, &rc, brush);
    }

private:
    int m_width, m_height;
    MemoryDC m_dc;
    Bitmap m_bitmap;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};
