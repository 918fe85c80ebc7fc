#include "e2e/ScreenImage.h"

#include "framework/Gdi.h"

#include <cstdio>

ScreenImage::ScreenImage(int width, int height, COLORREF fill)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0),
      m_pixels(static_cast<size_t>(m_width) * m_height, fill)
{
}

ScreenImage ScreenImage::Capture(const RECT& rc)
{
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    ScreenImage image(w, h, 0);
    if (image.Empty()) return image;
    DibCanvas canvas(w, h);
    WindowDC screen(nullptr);
    ::BitBlt(canvas.Dc(), 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.m_pixels[static_cast<size_t>(y) * w + x] = canvas.Pixel(x, y);
    return image;
}

ScreenImage ScreenImage::RenderText(const std::string& text, HFONT font, COLORREF color, COLORREF background)
{
    // Measure first, then draw with a margin so that nothing is clipped.
    DibCanvas measure(1, 1);
    RECT extent = {0, 0, 0, 0};
    {
        SelectGuard sel(measure.Dc(), font);
        ::DrawTextA(measure.Dc(), text.c_str(), static_cast<int>(text.size()), &extent, DT_SINGLELINE | DT_CALCRECT);
    }
    const int margin = 4;
    const int w = extent.right + 2 * margin, h = extent.bottom + 2 * margin;
    DibCanvas canvas(w, h);
    canvas.Fill(background);
    {
        SelectGuard sel(canvas.Dc(), font);
        ::SetTextColor(canvas.Dc(), color);
        ::SetBkMode(canvas.Dc(), TRANSPARENT);
        RECT rc = {margin, margin, w - margin, h - margin};
        ::DrawTextA(canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &rc, DT_SINGLELINE);
    }
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (canvas.Pixel(x, y) == background) continue;
            if (x < left) left = x;
            if (x > right) right = x;
            if (y < top) top = y;
            if (y > bottom) bottom = y;
        }
    }
    if (right < 0) return ScreenImage();
    ScreenImage image(right - left + 1, bottom - top + 1, background);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            image.m_pixels[static_cast<size_t>(y - top) * image.m_width + (x - left)] = canvas.Pixel(x, y);
    return image;
}

int ScreenImage::CountOtherThan(COLORREF color, const RECT& rc) const
{
    int count = 0;
    for (int y = rc.top < 0 ? 0 : rc.top; y < rc.bottom && y < m_height; ++y)
        for (int x = rc.left < 0 ? 0 : rc.left; x < rc.right && x < m_width; ++x)
            if (Pixel(x, y) != color) ++count;
    return count;
}

std::vector<POINT> ScreenImage::FindAll(const ScreenImage& part) const
{
    std::vector<POINT> found;
    if (part.Empty()) return found;
    for (int y = 0; y + part.m_height <= m_height; ++y) {
        for (int x = 0; x + part.m_width <= m_width; ++x) {
            bool same = true;
            for (int py = 0; same && py < part.m_height; ++py)
                for (int px = 0; same && px < part.m_width; ++px) same = Pixel(x + px, y + py) == part.Pixel(px, py);
            if (same) found.push_back(POINT{x, y});
        }
    }
    return found;
}

bool ScreenImage::SaveBmp(const std::string& path) const
{
    const int stride = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = m_width;
    info.biHeight = m_height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride) * m_height;
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::vector<BYTE> row(static_cast<size_t>(stride), 0);
    for (int y = m_height - 1; y >= 0; --y) {
        for (int x = 0; x < m_width; ++x) {
            COLORREF c = Pixel(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
        std::fwrite(row.data(), row.size(), 1, out);
    }
    return std::fclose(out) == 0;
}

void SaveScreenshotIfAsked(const std::string& name)
{
    char folder[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("PAIRMATE_E2E_SHOTS", folder, sizeof(folder)) || !folder[0]) return;
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ScreenImage::Capture(screen).SaveBmp(std::string(folder) + "\\" + name + ".bmp");
}
