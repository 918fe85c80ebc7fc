#include "controls/HyperLink.h"

#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Look.h"
#include "framework/WinApp.h"
#include "res/resource.h"

#include <shellapi.h>

#include <cstring>

namespace {

// A command line built by the ".htm" fallback, terminator included, must fit
// in this many bytes; a longer one is refused.
constexpr size_t kFallbackBufferSize = 520;
// The longest registry value the fallback reads, terminator included.
constexpr DWORD kRegValueLimit = 260;

// The default value of a key under HKEY_CLASSES_ROOT. FALSE when the key
// cannot be opened, or its value is missing, empty, too long or not a text:
// none of these gives a usable type name or command.
BOOL ReadClassesRootDefault(const std::string& subKey, std::string& value)
{
    RegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, subKey.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS) return FALSE;
    char buffer[kRegValueLimit] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (::RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return FALSE;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return FALSE;
    std::string text(buffer, strnlen(buffer, size < sizeof(buffer) ? size : sizeof(buffer)));
    if (type == REG_EXPAND_SZ) {
        char expanded[kFallbackBufferSize] = {};
        DWORD n = ::ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof(expanded));
        if (n == 0 || n > sizeof(expanded)) return FALSE;
        text = expanded;
    }
    if (text.empty()) return FALSE;
    value = text;
    return TRUE;
}

// Position of `needle` in `text`, looking only at character starts of the
// ANSI code page (a double-byte character's second byte never matches).
size_t FindMbcs(const std::string& text, const char* needle)
{
    const size_t n = std::char_traits<char>::length(needle);
    for (size_t i = 0; i + n <= text.size();) {
        if (text.compare(i, n, needle) == 0) return i;
        i += ::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return std::string::npos;
}

RECT RectInParent(HWND hwnd, HWND parent, bool client)
{
    RECT rc{};
    if (client) {
        ::GetClientRect(hwnd, &rc);
        ::MapWindowPoints(hwnd, parent, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        ::GetWindowRect(hwnd, &rc);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    }
    return rc;
}

} // namespace

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink()
{
    if (m_toolTip.IsWindow()) m_toolTip.DestroyWindow();
    if (m_hHandCursor) ::DestroyCursor(m_hHandCursor);
}

void CHyperLink::PreSubclassWindow()
{
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | SS_NOTIFY);

    std::string text = GetWindowText();
    if (m_strUrl.empty()) m_strUrl = text;
    if (text.empty()) SetWindowText(m_strUrl);

    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const bool hadFont = font != nullptr;
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    // The face name in UTF-16, as the system keeps it, whatever the code page.
    if (font && ::GetObjectW(font, sizeof(m_lfAttached), &m_lfAttached)) {
        m_nAttachedDpi = GetDpi();
        m_fontNormal.Reset(::CreateFontIndirectW(&m_lfAttached));
        LOGFONTW underlined = m_lfAttached;
        underlined.lfUnderline = TRUE;
        m_fontUnderline.Reset(::CreateFontIndirectW(&underlined));
    }
    // A control without a font of its own would draw in the system font
    // while being measured in the one above.
    if (!hadFont && m_fontNormal) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontNormal.Get()), FALSE);

    FitToText();
    LoadHandCursor();
    // A mode chosen before attaching takes effect now.
    if (m_nUnderlineMode == 1) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontUnderline.Get()), TRUE);
        Invalidate();
    }

    if (m_toolTip.Create(this)) {
        TTTOOLINFOA ti = ToolInfo();
        m_toolTip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

// The link's one tool (id 1): the whole control, showing the target.
TTTOOLINFOA CHyperLink::ToolInfo()
{
    TTTOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = m_hWnd;
    ti.uId = 1;
    ti.rect = GetClientRect();
    ti.lpszText = const_cast<char*>(m_strUrl.c_str());
    return ti;
}

void CHyperLink::UpdateTool()
{
    if (!m_toolTip.IsWindow()) return;
    TTTOOLINFOA ti = ToolInfo();
    m_toolTip.SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    m_toolTip.SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CHyperLink::SetUrl(const std::string& url)
{
    m_strUrl = url;
    if (!IsWindow()) return;
    FitToText();
    UpdateTool();
}

void CHyperLink::MakeFonts(LOGFONTW lf)
{
    Font normal(::CreateFontIndirectW(&lf));
    lf.lfUnderline = TRUE;
    Font underlined(::CreateFontIndirectW(&lf));
    if (!normal || !underlined) return;
    // The link shows the new font before the old ones go.
    const bool underline = m_nUnderlineMode == 1 || (m_nUnderlineMode == -1 && m_bHover);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>((underline ? underlined : normal).Get()), TRUE);
    m_fontNormal = std::move(normal);
    m_fontUnderline = std::move(underlined);
}

void CHyperLink::RemakeFonts()
{
    if (!IsWindow() || !m_nAttachedDpi) return;
    // Always from the font as attached, so that changes back and forth do
    // not add up rounding.
    const UINT dpi = GetDpi();
    LOGFONTW lf = m_lfAttached;
    lf.lfHeight = ::MulDiv(lf.lfHeight, static_cast<int>(dpi), static_cast<int>(m_nAttachedDpi));
    lf.lfWidth = ::MulDiv(lf.lfWidth, static_cast<int>(dpi), static_cast<int>(m_nAttachedDpi));
    MakeFonts(lf);
    FitToText();
    UpdateTool();
    Invalidate(TRUE);
}

void CHyperLink::SetVisited(BOOL visited)
{
    m_bVisited = visited;
    if (IsWindow()) Invalidate(TRUE);
}

void CHyperLink::SetUnderlineMode(int mode)
{
    if (mode == m_nUnderlineMode) return;
    if (IsWindow()) {
        HFONT font = mode == 1 ? m_fontUnderline.Get() : m_fontNormal.Get();
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        Invalidate(TRUE);
    }
    m_nUnderlineMode = mode;
}

void CHyperLink::LoadHandCursor()
{
    if (m_hHandCursor) return;
    char dir[MAX_PATH] = {};
    UINT n = ::GetWindowsDirectoryA(dir, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        std::string path(dir, n);
        if (path.back() != '\\') path += '\\';
        path += "winhlp32.exe";
        // Loaded for its resources only: none of its code runs.
        if (HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
                m_hHandCursor = ::CopyIcon(cursor);
            ::FreeLibrary(module);
        }
    }
    // Newer systems (and Wine) ship a winhlp32.exe without that cursor: the
    // system's own hand still tells the user that this is a link.
    if (!m_hHandCursor) {
        if (HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND)) m_hHandCursor = ::CopyIcon(hand);
    }
}

void CHyperLink::FitToText()
{
    if (!m_bAutoSize || !IsWindow()) return;
    HWND parent = GetParent();
    RECT rc = RectInParent(m_hWnd, parent, false);
    RECT client = RectInParent(m_hWnd, parent, true);
    const int borderX = (rc.right - rc.left) - (client.right - client.left);
    const int borderY = (rc.bottom - rc.top) - (client.bottom - client.top);

    const std::wstring text = GetWindowTextWide(m_hWnd);
    SIZE extent = {};
    {
        WindowDC dc(m_hWnd);
        SelectGuard select(dc, m_fontUnderline.Get());
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }

    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    const int height = extent.cy + borderY;
    if (style & SS_CENTERIMAGE) {
        int shrink = ((rc.bottom - rc.top) - height) / 2;
        rc.top += shrink;
        rc.bottom -= shrink;
    } else {
        rc.bottom = rc.top + height;
    }

    const int width = extent.cx + borderX;
    const LONG_PTR align = style & SS_TYPEMASK;
    if (align == SS_CENTER) {
        int shrink = ((rc.right - rc.left) - width) / 2;
        rc.left += shrink;
        rc.right -= shrink;
    } else if (align == SS_RIGHT) {
        rc.left = rc.right - width;
    } else {
        rc.right = rc.left + width;
    }
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CHyperLink::BuildFallbackCommand(const std::string& target, std::string& command)
{
    std::string typeName;
    if (!ReadClassesRootDefault(".htm", typeName)) return FALSE;
    std::string line;
    if (!ReadClassesRootDefault(typeName + "\\shell\\open\\command", line)) return FALSE;

    size_t cut = FindMbcs(line, "\"%1\"");
    if (cut == std::string::npos) cut = FindMbcs(line, "%1");
    if (cut != std::string::npos) line.erase(cut);
    line += ' ';
    line += target;
    // Refused rather than cut: a shortened target would open another page.
    if (line.size() + 1 > kFallbackBufferSize) return FALSE;
    command = line;
    return TRUE;
}

int CHyperLink::OpenUrl(const std::string& target, int showCmd)
{
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCmd);
    if (reinterpret_cast<UINT_PTR>(result) > 32) return static_cast<int>(reinterpret_cast<INT_PTR>(result));

    std::string command;
    if (!BuildFallbackCommand(target, command)) return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    return static_cast<int>(::WinExec(command.c_str(), static_cast<UINT>(showCmd)));
}

std::string CHyperLink::OpenErrorText(int error)
{
    static const struct {
        int code;
        UINT textId;
    } kKnown[] = {
        {0, IDS_LINK_ERROR_OOM},
        {SE_ERR_FNF, IDS_LINK_ERROR_FNF},
        {SE_ERR_PNF, IDS_LINK_ERROR_PNF},
        {SE_ERR_ACCESSDENIED, IDS_LINK_ERROR_ACCESSDENIED},
        {SE_ERR_OOM, IDS_LINK_ERROR_NOMEMORY},
        {ERROR_BAD_FORMAT, IDS_LINK_ERROR_BADFORMAT},
        {SE_ERR_SHARE, IDS_LINK_ERROR_SHARE},
        {SE_ERR_ASSOCINCOMPLETE, IDS_LINK_ERROR_ASSOCINCOMPLETE},
        {SE_ERR_DDETIMEOUT, IDS_LINK_ERROR_DDETIMEOUT},
        {SE_ERR_DDEFAIL, IDS_LINK_ERROR_DDEFAIL},
        {SE_ERR_DDEBUSY, IDS_LINK_ERROR_DDEBUSY},
        {SE_ERR_NOASSOC, IDS_LINK_ERROR_NOASSOC},
        {SE_ERR_DLLNOTFOUND, IDS_LINK_ERROR_DLLNOTFOUND},
    };
    std::string message = AfxLoadString(IDS_LINK_OPEN_FAILED);
    for (const auto& known : kKnown) {
        if (known.code == error) return message + AfxLoadString(known.textId);
    }
    // The code in decimal in place of the text's "%d".
    std::string unknown = AfxLoadString(IDS_LINK_UNKNOWN_ERROR);
    const size_t placeholder = unknown.find("%d");
    if (placeholder != std::string::npos) unknown.replace(placeholder, 2, std::to_string(error));
    return message + unknown;
}

void CHyperLink::ShowOpenError(int error) const
{
    HWND owner = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    AfxLookMessageBox(owner, OpenErrorText(error).c_str(), AfxGetAppTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

BOOL CHyperLink::DestroyWindow()
{
    if (m_hWnd) ::KillTimer(m_hWnd, m_nHoverTimerId);
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.IsWindow()) m_toolTip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return CStatic::PreTranslateMessage(msg);
}

HBRUSH CHyperLink::OnCtlColor(HDC dc)
{
    ::SetTextColor(dc, AfxLookColor(m_bHover ? LookColor::LinkHover
                                             : (m_bVisited ? LookColor::LinkVisited : LookColor::Link)));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnClicked()
{
    m_bHover = FALSE;
    int result = OpenUrl(m_strUrl, SW_SHOW);
    m_bVisited = result > 32;
    if (m_bVisited) {
        SetVisited(TRUE);
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
}

BOOL CHyperLink::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (msg == WM_CTLCOLORSTATIC) {
        *result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

BOOL CHyperLink::OnSetCursor()
{
    if (!m_hHandCursor) return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove()
{
    if (m_bHover) return;
    m_bHover = TRUE;
    if (m_nUnderlineMode == -1)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontUnderline.Get()), TRUE);
    Invalidate(TRUE);
    ::SetTimer(m_hWnd, m_nHoverTimerId, kHoverTimerPeriod, nullptr);
}

void CHyperLink::OnTimer()
{
    DWORD pos = ::GetMessagePos();
    POINT pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client = GetClientRect();
    if (::PtInRect(&client, pt)) return;

    m_bHover = FALSE;
    ::KillTimer(m_hWnd, m_nHoverTimerId);
    if (m_nUnderlineMode != 1)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontNormal.Get()), TRUE);
    // 10 pixels (at 96 DPI) below the control too, where the underline of
    // a font taller than the control may have reached.
    client.bottom += AfxScale(10, GetDpi());
    ::InvalidateRect(m_hWnd, &client, TRUE);
}

BOOL CHyperLink::OnEraseBkgnd(HDC dc)
{
    RECT rc = GetClientRect();
    ::FillRect(dc, &rc, AfxLookBrush(LookColor::Face));
    return TRUE;
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        OnTimer();
        break;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_DESTROY:
        if (m_toolTip.IsWindow()) m_toolTip.DestroyWindow();
        break;
    default:
        break;
    }
    return CStatic::WindowProc(msg, wParam, lParam);
}
