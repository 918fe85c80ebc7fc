#include "bar/BarPictures.h"

#include "framework/Dpi.h"

#include <vector>

namespace {

// The shapes at 96 DPI (tools/draw_bar_bitmaps.py); the colours are the
// look's.
constexpr int kHeight = 28;
constexpr int kHandleWidth = 15;
constexpr int kTileWidth = 12;
constexpr int kBarRows[] = {5, 9, 13, 17, 21};
constexpr int kBarLeft = 4, kBarRight = 11; // columns 4 to 10

// A picture being drawn: rows of colours, made into a 24-bit DIB section.
class Picture {
public:
    Picture(int width, int height, COLORREF fill)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill) {}

    // Fills columns x0..x1-1 of rows y0..y1-1.
    void Fill(int x0, int y0, int x1, int y1, COLORREF color)
    {
        for (int y = y0; y < y1 && y < m_height; ++y)
            for (int x = x0; x < x1 && x < m_width; ++x) m_pixels[static_cast<size_t>(y) * m_width + x] = color;
    }

    HBITMAP Make() const
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = m_height; // bottom-up, as bitmap files are
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) return bitmap;
        const size_t stride = (static_cast<size_t>(m_width) * 3 + 3) & ~static_cast<size_t>(3);
        auto* row = static_cast<BYTE*>(bits) + stride * static_cast<size_t>(m_height - 1);
        for (int y = 0; y < m_height; ++y, row -= stride) {
            for (int x = 0; x < m_width; ++x) {
                const COLORREF c = m_pixels[static_cast<size_t>(y) * m_width + x];
                row[3 * x] = GetBValue(c);
                row[3 * x + 1] = GetGValue(c);
                row[3 * x + 2] = GetRValue(c);
            }
        }
        ::GdiFlush();
        return bitmap;
    }

private:
    int m_width, m_height;
    std::vector<COLORREF> m_pixels;
};

BYTE Blend(BYTE from, BYTE to, int step, int steps)
{
    return static_cast<BYTE>(from + ::MulDiv(to - from, step, steps));
}

} // namespace

HBITMAP DrawBarHandle(UINT dpi, bool active, Look look)
{
    const COLORREF edge = AfxLookColor(LookColor::BarEdge, look);
    const int width = AfxScale(kHandleWidth, dpi), height = AfxScale(kHeight, dpi);
    const int line = AfxScale(1, dpi);
    Picture picture(width, height, AfxLookColor(LookColor::BarGrip, look));
    picture.Fill(0, 0, width, line, edge);
    picture.Fill(0, height - line, width, height, edge);
    picture.Fill(0, 0, line, height, edge);
    for (int row : kBarRows) {
        const int top = AfxScale(row, dpi);
        picture.Fill(AfxScale(kBarLeft, dpi), top, AfxScale(kBarRight, dpi), top + line,
                     AfxLookColor(LookColor::BarLine, look));
        if (active)
            picture.Fill(AfxScale(kBarLeft, dpi), top + line, AfxScale(kBarRight, dpi), top + 2 * line,
                         AfxLookColor(LookColor::BarActive, look));
    }
    return picture.Make();
}

HBITMAP DrawBarTile(UINT dpi, Look look)
{
    const COLORREF shadeTop = AfxLookColor(LookColor::ShadeTop, look);
    const COLORREF shadeBottom = AfxLookColor(LookColor::ShadeBottom, look);
    const int width = AfxScale(kTileWidth, dpi), height = AfxScale(kHeight, dpi);
    const int line = AfxScale(1, dpi);
    Picture picture(width, height, AfxLookColor(LookColor::BarEdge, look));
    // The shade runs over the rows between the lines, first to last.
    const int steps = height - 2 * line - 1;
    for (int y = line; y < height - line; ++y) {
        const int step = y - line;
        picture.Fill(0, y, width, y + 1,
                     RGB(Blend(GetRValue(shadeTop), GetRValue(shadeBottom), step, steps),
                         Blend(GetGValue(shadeTop), GetGValue(shadeBottom), step, steps),
                         Blend(GetBValue(shadeTop), GetBValue(shadeBottom), step, steps)));
    }
    return picture.Make();
}
