// CIconStatic: a static control that shows an icon enlarged to fill a white
// box with a black frame and a dark grey drop shadow. The icon is the image
// drawn for the system's icon size at the control's DPI, so that it is
// enlarged by the same measure at every display scaling.
#pragma once

#include "framework/Controls.h"
#include "framework/Handles.h"

class CIconStatic : public CStatic {
public:
    CIconStatic();
    ~CIconStatic() override;

    // Loads icon resource `id` from the program's resources, the image for
    // the control's DPI: at the system's DPI the shared icon the system keeps
    // (never destroyed), on a display scaled otherwise one of the control's
    // own. TRUE when it was found. Does not repaint.
    BOOL SetIconId(UINT id);
    HICON GetBoxIcon() const { return m_hIcon; }
    // The size of the icon's image (before it is enlarged).
    SIZE GetIconSize() const { return SIZE{m_cxIcon, m_cyIcon}; }

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
