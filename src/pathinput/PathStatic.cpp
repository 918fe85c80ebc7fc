#include "pathinput/PathStatic.h"

#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/Look.h"

void CPathStatic::DrawPath(HDC dc, const RECT& client) const
{
    // Margins of 2 and 3 pixels at 96 DPI, as the dialog's text grows.
    const UINT dpi = GetDpi();
    RECT rc = client;
    rc.left += AfxScale(2, dpi);
    rc.right -= AfxScale(3, dpi);
    std::wstring text = GetWindowTextWide(m_hWnd);
    // Drawn as it is: an "&" in a folder name is part of the path, not a
    // mnemonic.

    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldBk = ::SetBkColor(dc, AfxLookColor(LookColor::Field));
    COLORREF oldText = ::SetTextColor(dc, AfxLookColor(LookColor::FieldText));
    auto font = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
    {
        SelectGuard selectFont(dc, font);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
                    DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
    ::SetBkMode(dc, oldMode);
}

BOOL CPathStatic::OnEraseBkgnd(HDC dc)
{
    RECT rc = GetClientRect();
    SelectGuard select(dc, AfxLookBrush(LookColor::Field));
    ::PatBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATCOPY);
    return TRUE;
}

void CPathStatic::OnPaint()
{
    PaintDC dc(m_hWnd);
    DrawPath(dc, GetClientRect());
}

LRESULT CPathStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETTEXT: {
        LRESULT result = CFileDropStatic::WindowProc(msg, wParam, lParam);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return result;
    }
    default:
        return CFileDropStatic::WindowProc(msg, wParam, lParam);
    }
}
