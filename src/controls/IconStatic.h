// CIconStatic: a static control that shows an icon enlarged to fill a white
// box with a black frame and a dark grey drop shadow; on a display scaled
// above 100 % the box grows, and the icon's picture is enlarged once into it.
#pragma once

#include "framework/Controls.h"
#include "framework/Handles.h"

class CIconStatic : public CStatic {
public:
    CIconStatic();
    ~CIconStatic() override;

    // Loads icon resource `id` from the program's resources: at 96 DPI the
    // shared icon the system keeps (never destroyed), at the system's icon
    // size; at other DPIs a copy of the control's own at the picture's size
    // (32 pixels), which the drawing then enlarges. TRUE when it was found.
    // Does not repaint.
    BOOL SetIconId(UINT id);
    HICON GetBoxIcon() const { return m_hIcon; }

    // Draws the whole face of the control into `dc` for the rectangle `rc`.
    void DrawIconBox(HDC dc, const RECT& rc) const;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnEraseBkgnd(HDC dc);
    void OnPaint();

private:
    HICON m_hIcon = nullptr;
    UniqueIcon m_ownIcon; // m_hIcon when it is the control's own
    int m_cxIcon;
    int m_cyIcon;
};
