// CIconStatic: a static control that shows an icon enlarged to fill a white
// box with a black frame and a dark grey drop shadow.
#pragma once

#include "framework/Controls.h"

class CIconStatic : public CStatic {
public:
    CIconStatic();
    ~CIconStatic() override;

    // Loads icon resource `id` from the program's resources (shared, never
    // destroyed); TRUE when it was found. Does not repaint.
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
    int m_cxIcon;
    int m_cyIcon;
};
