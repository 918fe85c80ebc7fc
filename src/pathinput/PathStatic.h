// CPathStatic: a file-drop static that paints its text as a path, shortened
// in the middle with an ellipsis when it does not fit ("C:\Program
// Files\...\windiff.exe"), in the dialog's font on the button face colour.
#pragma once

#include "pathinput/FileDropStatic.h"

class CPathStatic : public CFileDropStatic {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Draws the text into `dc` as the control shows it in `client`.
    void DrawPath(HDC dc, const RECT& client) const;

protected:
    BOOL OnEraseBkgnd(HDC dc);
    void OnPaint();
};
