// CHyperLink: a static text control shown and used as a link.
//
// Attach it to a dialog's static control (SubclassDlgItem); it then draws its
// text in link colours (blue, purple once visited, red while the pointer is
// over it; in the look's link colours, framework/Look.h), underlines it while hovered (or always, or never), shows a hand
// cursor and a tooltip with its target, fits its size to the text, and on a
// click opens the target with the shell. When the shell cannot open it, the
// program registered for ".htm" files gets the target on its command line;
// when that fails too, the user gets an English message box.
#pragma once

#include "framework/Controls.h"
#include "framework/Gdi.h"

#include <string>

class CHyperLink : public CStatic {
public:
    CHyperLink();
    ~CHyperLink() override;

    void SetUrl(const std::string& url);
    const std::string& GetUrl() const { return m_strUrl; }
    void SetVisited(BOOL visited);
    BOOL GetVisited() const { return m_bVisited; }
    // 1: always underlined, 0: never, -1: while the pointer is over the link.
    void SetUnderlineMode(int mode);
    int GetUnderlineMode() const { return m_nUnderlineMode; }
    void SetAutoSize(BOOL autoSize) { m_bAutoSize = autoSize; }
    BOOL IsHovering() const { return m_bHover; }
    HCURSOR GetHandCursor() const { return m_hHandCursor; }
    HWND GetToolTip() const { return m_toolTip.m_hWnd; }

    // Opens `target` with the shell, or else with the ".htm" program. The
    // result is the shell's code (above 32 on success), or WinExec's when
    // the fallback ran.
    static int OpenUrl(const std::string& target, int showCmd);
    // The fallback on its own: the ".htm" program's command line for
    // `target`; FALSE when there is none or it would not fit the 520 bytes
    // that a command line of this kind may take.
    static BOOL BuildFallbackCommand(const std::string& target, std::string& command);
    // The message box of a failed open (English texts).
    void ShowOpenError(int error) const;
    // "Unable to open hyperlink:..." text for an error code.
    static std::string OpenErrorText(int error);

    void FitToText();
    void LoadHandCursor();
    // After the DPI of the link's window changed: makes its fonts again for
    // the new DPI (from the font it was attached with) and fits it to its
    // text again.
    void RemakeFonts();

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr UINT kHoverTimerPeriod = 100; // ms

protected:
    void PreSubclassWindow() override;

    HBRUSH OnCtlColor(HDC dc);
    BOOL OnSetCursor();
    void OnMouseMove();
    void OnTimer();
    void OnClicked();
    BOOL OnEraseBkgnd(HDC dc);

private:
    TTTOOLINFOA ToolInfo();
    // The tooltip's text and rectangle after the target or the size changed.
    void UpdateTool();
    // The plain and underlined fonts from `lf`, shown at once in the link.
    void MakeFonts(LOGFONTW lf);
    BOOL m_bHover = FALSE;
    BOOL m_bVisited = FALSE;
    int m_nUnderlineMode = -1;
    BOOL m_bAutoSize = TRUE;
    std::string m_strUrl;
    Font m_fontUnderline;
    Font m_fontNormal;
    LOGFONTW m_lfAttached = {}; // the font the link was attached with
    UINT m_nAttachedDpi = 0;    // and the DPI it was made for; 0: none
    HCURSOR m_hHandCursor = nullptr; // our own copy
    CToolTipCtrl m_toolTip;
    UINT m_nHoverTimerId = 100;
};
