#include "controls/IconStatic.h"

#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"

namespace {

constexpr COLORREF kBoxBackground = RGB(128, 128, 128);
// Widths at 96 DPI: the drop shadow, the frame, and the frame and white ring
// around the icon.
constexpr int kShadow = 4;
constexpr int kFrame = 1;
constexpr int kIconInset = 2;
// The size of the box's icon's picture (one 32 by 32 image).
constexpr int kIconPicture = 32;

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
    const LPCSTR name = MAKEINTRESOURCEA(LOWORD(id));
    if (GetDpi() == kDefaultDpi) {
        m_ownIcon.Reset();
        m_hIcon = ::LoadIconA(AfxGetResourceHandle(), name);
        m_cxIcon = ::GetSystemMetrics(SM_CXICON);
        m_cyIcon = ::GetSystemMetrics(SM_CYICON);
    } else {
        // Not at the scaled system icon size: the loader would enlarge the
        // picture first, and the box once more.
        m_cxIcon = m_cyIcon = kIconPicture;
        m_ownIcon.Reset(static_cast<HICON>(
            ::LoadImageA(AfxGetResourceHandle(), name, IMAGE_ICON, m_cxIcon, m_cyIcon, 0)));
        m_hIcon = m_ownIcon.Get();
    }
    return m_hIcon != nullptr;
}

void CIconStatic::DrawIconBox(HDC dc, const RECT& rc) const
{
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    const UINT dpi = GetDpi();
    const int shadowWidth = AfxScale(kShadow, dpi), frame = AfxScale(kFrame, dpi);
    const int inset = AfxScale(kIconInset, dpi);
    FillSolid(dc, rc.left, rc.top, w, h, kBoxBackground);

    // The white box with its black frame.
    FillSolid(dc, 0, 0, w - shadowWidth, h - shadowWidth, RGB(0, 0, 0));
    FillSolid(dc, frame, frame, w - shadowWidth - 2 * frame, h - shadowWidth - 2 * frame, RGB(255, 255, 255));
    // The shadow along the right and the bottom edge, offset down and right.
    auto shadow = static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH));
    RECT right = {w - shadowWidth, shadowWidth, w, h};
    RECT bottom = {shadowWidth, h - shadowWidth, w, h};
    ::FillRect(dc, &right, shadow);
    ::FillRect(dc, &bottom, shadow);

    // The icon, drawn on white at its own size and stretched into the box
    // (a white ring inside the frame on every side).
    Bitmap iconBitmap(::CreateCompatibleBitmap(dc, m_cxIcon, m_cyIcon));
    if (!iconBitmap) return;
    MemoryDC iconDC(dc);
    if (!iconDC) return;
    SelectGuard selectBitmap(iconDC, iconBitmap);
    ::PatBlt(iconDC, 0, 0, m_cxIcon, m_cyIcon, WHITENESS);
    if (m_hIcon) ::DrawIconEx(iconDC, 0, 0, m_hIcon, m_cxIcon, m_cyIcon, 0, nullptr, DI_NORMAL);
    ::StretchBlt(dc, inset, inset, w - 2 * shadowWidth, h - 2 * shadowWidth, iconDC, 0, 0, m_cxIcon, m_cyIcon,
                 SRCCOPY);
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
