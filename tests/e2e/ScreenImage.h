// Pixels as a user sees them: parts of the screen captured into memory, texts
// drawn the way a program draws them, and the search of one picture in
// another. Used to check from outside what another process painted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScreenImage {
public:
    ScreenImage() = default;
    ScreenImage(int width, int height, COLORREF fill);

    // The screen's pixels inside `rc` (screen coordinates).
    static ScreenImage Capture(const RECT& rc);
    // `text` drawn as DrawTextA draws it on one line ("&" underlines the next
    // character), in `font` and `color` on `background`, cut down to the
    // smallest rectangle holding every pixel that differs from the background.
    static ScreenImage RenderText(const std::string& text, HFONT font, COLORREF color, COLORREF background);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    COLORREF Pixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    // Pixels inside the rectangle (clipped to the image) that differ from `color`.
    int CountOtherThan(COLORREF color, const RECT& rc) const;

    // Every place (top-left corner) where `part` appears pixel for pixel.
    std::vector<POINT> FindAll(const ScreenImage& part) const;

    // Writes a 24-bit BMP file.
    bool SaveBmp(const std::string& path) const;

private:
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// When the environment variable PAIRMATE_E2E_SHOTS names a folder, saves the
// whole screen there as <name>.bmp (for looking at what a test saw).
void SaveScreenshotIfAsked(const std::string& name);
