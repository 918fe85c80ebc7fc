#include "bar/Dib.h"

#include <vector>

BOOL CDib::Load(HINSTANCE instance, UINT id)
{
    return Load(instance, MAKEINTRESOURCEA(LOWORD(id)));
}

BOOL CDib::Load(HINSTANCE instance, LPCSTR name)
{
    HANDLE image = ::LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    return SetBitmap(static_cast<HBITMAP>(image));
}

BOOL CDib::SetBitmap(HBITMAP bitmap)
{
    if (!bitmap) return FALSE;
    // The palette belongs to the bitmap it was made for: both go together.
    // The bitmap held already stays (releasing it would leave nothing).
    m_palette.Reset();
    if (bitmap != m_bitmap.Get()) m_bitmap.Reset(bitmap);
    return CreateDibPalette();
}

BOOL CDib::CreateDibPalette()
{
    m_palette.Reset();
    if (!m_bitmap) return FALSE;

    RGBQUAD table[256];
    UINT count = GetColorTable(table, 256);
    if (count > 0) {
        // LOGPALETTE declares one entry; the others follow it in memory.
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + (count - 1) * sizeof(PALETTEENTRY));
        auto* logPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        logPalette->palVersion = 0x300;
        logPalette->palNumEntries = static_cast<WORD>(count);
        for (UINT i = 0; i < count; ++i) {
            logPalette->palPalEntry[i].peRed = table[i].rgbRed;
            logPalette->palPalEntry[i].peGreen = table[i].rgbGreen;
            logPalette->palPalEntry[i].peBlue = table[i].rgbBlue;
            logPalette->palPalEntry[i].peFlags = 0;
        }
        m_palette.Reset(::CreatePalette(logPalette));
    } else {
        // No colour table (16, 24 and 32 bits per pixel): a halftone
        // palette for the screen.
        WindowDC screen(nullptr);
        m_palette.Reset(::CreateHalftonePalette(screen));
    }
    return m_palette ? TRUE : FALSE;
}

UINT CDib::GetColorTable(RGBQUAD* entries, UINT maxEntries) const
{
    if (!m_bitmap || !entries || maxEntries == 0) return 0;
    WindowDC screen(nullptr);
    MemoryDC memory(screen);
    if (!memory) return 0;
    HGDIOBJ previous = ::SelectObject(memory, m_bitmap);
    if (!previous) return 0; // selected into another DC, or not a bitmap
    UINT count = ::GetDIBColorTable(memory, 0, maxEntries, entries);
    ::SelectObject(memory, previous);
    return count;
}

SIZE CDib::GetSize() const
{
    BITMAP info = {};
    if (m_bitmap && ::GetObjectA(m_bitmap, sizeof(info), &info) != 0) return SIZE{info.bmWidth, info.bmHeight};
    return SIZE{0, 0};
}

BOOL CDib::Draw(HDC dc, const RECT& rect) const
{
    if (!m_bitmap) return FALSE;
    PaletteGuard palette(dc, m_palette, FALSE);
    if (m_palette) ::RealizePalette(dc);
    MemoryDC memory(dc);
    if (!memory) return FALSE;
    SelectGuard select(memory, m_bitmap);
    ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, SRCCOPY);
    return TRUE;
}

BOOL CDib::DeleteObject()
{
    m_palette.Reset();
    m_bitmap.Reset();
    return TRUE;
}
