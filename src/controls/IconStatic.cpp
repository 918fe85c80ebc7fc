#include "controls/IconStatic.h"

#include "framework/Gdi.h"
#include "framework/WinApp.h"

namespace {

constexpr COLORREF kBoxBackground = RGB(128, 128, 128);
constexpr int kShadow = 4; // width of the drop shadow

void FillSolid(HDC dc, int x, int y, int w, int h, COLORREF color)
{
    Brush brush(::CreateSolidBrush(color));
    SelectGuard select(dc, brush);
    ::PatBlt(dc, x, y, w, h, PATCOPY);
}

} // namespace

CIconStatic::CIconStatic()
    : m_cxIcon(::GetSystemMetrics(SM_CXICON)), m_cyIcon(::GetSystemMetrics(SM_CYICON))
{
}

CIconStatic::~CIconStatic()
{
    if (IsWindow()) DestroyWindow();
}

BOOL CIconStatic::SetIconId(UINT id)
{
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(id)));
    return m_hIcon != nullptr;
}

void CIconStatic::DrawIconBox(HDC dc, const RECT& rc) const
{
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    FillSolid(dc, rc.left, rc.top, w, h, kBoxBackground);

    // The white box with its one-pixel black frame.
    {
        SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
        SelectGuard brush(dc, ::GetStockObject(WHITE_BRUSH));
        ::Rectangle(dc, 0, 0, w - kShadow, h - kShadow);
    }
    // The shadow along the right and the bottom edge, offset down and right.
    auto shadow = static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH));
    RECT right = {w - kShadow, kShadow, w, h};
    RECT bottom = {kShadow, h - kShadow, w, h};
    ::FillRect(dc, &right, shadow);
    ::FillRect(dc, &bottom, shadow);

    // The icon, drawn on white at its own size and stretched into the box
    // (one white pixel inside the frame on every side).
    Bitmap iconBitmap(::CreateCompatibleBitmap(dc, m_cxIcon, m_cyIcon));
    if (!iconBitmap) return;
    MemoryDC iconDC(dc);
    if (!iconDC) return;
    SelectGuard selectBitmap(iconDC, iconBitmap);
    ::PatBlt(iconDC, 0, 0, m_cxIcon, m_cyIcon, WHITENESS);
    if (m_hIcon) ::DrawIcon(iconDC, 0, 0, m_hIcon);
    ::StretchBlt(dc, 2, 2, w - 2 * kShadow, h - 2 * kShadow, iconDC, 0, 0, m_cxIcon, m_cyIcon, SRCCOPY);
}

BOOL CIconStatic::OnEraseBkgnd(HDC dc)
{
    RECT rc = GetClientRect();
    FillSolid(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, kBoxBackground);
    return TRUE;
}

void CIconStatic::OnPaint()
{
    PaintDC dc(m_hWnd);
    RECT rc = GetClientRect();
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    // Drawn off screen first, so the face does not flicker.
    Bitmap face(::CreateCompatibleBitmap(dc, w, h));
    if (!face) return;
    MemoryDC memory(dc);
    if (!memory) return;
    SelectGuard select(memory, face);
    DrawIconBox(memory, rc);
    ::StretchBlt(dc, rc.left, rc.top, w, h, memory, 0, 0, w, h, SRCCOPY);
}

LRESULT CIconStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        return CStatic::WindowProc(msg, wParam, lParam);
    }
}
