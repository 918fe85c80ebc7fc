// CDib: one bitmap resource held as a device-independent section, together
// with a palette made for it, drawn unscaled into a rectangle of a DC.
#pragma once

#include "framework/Gdi.h"

#include <windows.h>

class CDib {
public:
    CDib() = default;
    ~CDib() = default; // the wrappers release the palette, then the bitmap

    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Loads the BITMAP resource with this integer id (its low 16 bits).
    BOOL Load(HINSTANCE instance, UINT id);
    // Loads the BITMAP resource with this name. A bitmap already held is
    // released (with its palette) once the new one has loaded; when loading
    // fails, the object keeps what it held. FALSE also when the palette
    // could not be made (the bitmap is then held and still draws).
    BOOL Load(HINSTANCE instance, LPCSTR name);
    // Takes ownership of `bitmap` (releasing what was held, unless it is the
    // same bitmap) and makes its palette. A null bitmap changes nothing and
    // gives FALSE.
    BOOL SetBitmap(HBITMAP bitmap);
    // (Re)makes the palette: the bitmap's own colour table when it has one,
    // otherwise a halftone palette for the screen.
    BOOL CreateDibPalette();
    // Copies up to `maxEntries` entries of the bitmap's colour table; returns
    // how many were copied (0 for bitmaps without a colour table).
    UINT GetColorTable(RGBQUAD* entries, UINT maxEntries) const;
    // Width and height in pixels; 0 by 0 when empty.
    SIZE GetSize() const;
    // Copies the bitmap, one pixel per pixel, to the rectangle's top-left
    // corner; the caller sizes the rectangle to the bitmap. FALSE when empty.
    BOOL Draw(HDC dc, const RECT& rect) const;
    // Releases palette and bitmap; the object is empty again.
    BOOL DeleteObject();

    HBITMAP GetBitmap() const { return m_bitmap.Get(); }
    // The palette made for the bitmap (null when none could be made).
    HPALETTE GetPalette() const { return m_palette.Get(); }
    bool IsEmpty() const { return !m_bitmap; }

private:
    Bitmap m_bitmap;
    Palette m_palette;
};
