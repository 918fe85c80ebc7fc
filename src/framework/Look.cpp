#include "framework/Look.h"

#include "framework/Handles.h"
#include "framework/Wnd.h"

#include <iterator>
#include <vector>

namespace {

constexpr char kPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr char kAppsUseLightTheme[] = "AppsUseLightTheme";

// A colour of a look: a system colour (GetSysColor index), or a fixed one.
struct Shade {
    int sysColor; // -1: `rgb`
    COLORREF rgb;
};
constexpr Shade Sys(int index) { return {index, 0}; }
constexpr Shade Fixed(BYTE r, BYTE g, BYTE b) { return {-1, RGB(r, g, b)}; }

constexpr size_t kColorCount = static_cast<size_t>(LookColor::ShadeBottom) + 1;

// In the order of LookColor. The light look is the program's old one: the
// system's colours where it always took them, its own fixed ones elsewhere
// (the bar's are those of bitmaps 130, 133 and 131, tools/draw_bar_bitmaps.py;
// the path field's text is a device context's default black).
constexpr Shade kLight[kColorCount] = {
    Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE), Fixed(0, 0, 0),
    Sys(COLOR_MENU), Sys(COLOR_MENUTEXT), Sys(COLOR_HIGHLIGHT), Sys(COLOR_HIGHLIGHTTEXT), Sys(COLOR_GRAYTEXT),
    Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW),
    Fixed(0, 0, 238), Fixed(85, 26, 139), Fixed(255, 0, 0),
    Fixed(128, 128, 128), Fixed(255, 255, 255),
    Fixed(64, 64, 64), Fixed(192, 192, 192), Fixed(64, 64, 64), Fixed(138, 43, 226),
    Fixed(255, 255, 255), Fixed(192, 192, 192),
};

// Dark shades with the light look's shapes: light texts, a highlight a step
// lighter than the menu, greyed texts and separators mid-grey, links in a
// blue that reads on dark, and a strip whose edges and bars are lighter than
// its face (the grip stays visible) with a shade from dark grey to darker.
// Also tools/draw_bar_bitmaps.py (the bar's dark bitmaps).
constexpr Shade kDark[kColorCount] = {
    Fixed(32, 32, 32), Fixed(255, 255, 255), Fixed(45, 45, 45), Fixed(255, 255, 255),
    Fixed(43, 43, 43), Fixed(255, 255, 255), Fixed(65, 65, 65), Fixed(255, 255, 255), Fixed(128, 128, 128),
    Fixed(112, 112, 112), Fixed(43, 43, 43), Fixed(128, 128, 128),
    Fixed(100, 170, 255), Fixed(190, 150, 255), Fixed(255, 110, 110),
    Fixed(20, 20, 20), Fixed(110, 110, 110),
    Fixed(96, 96, 96), Fixed(56, 56, 56), Fixed(176, 176, 176), Fixed(160, 112, 240),
    Fixed(72, 72, 72), Fixed(40, 40, 40),
};

// A contrast theme: the system's colours only. The strip is the button face
// with its edges in the shadow colour and its bars in the button text colour;
// the active line is the selection colour.
constexpr Shade kContrast[kColorCount] = {
    Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT),
    Sys(COLOR_MENU), Sys(COLOR_MENUTEXT), Sys(COLOR_HIGHLIGHT), Sys(COLOR_HIGHLIGHTTEXT), Sys(COLOR_GRAYTEXT),
    Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW),
    Sys(COLOR_HOTLIGHT), Sys(COLOR_HOTLIGHT), Sys(COLOR_HOTLIGHT),
    Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT),
    Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT), Sys(COLOR_HIGHLIGHT),
    Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE),
};

Look g_look = Look::Light;
bool g_lookRead = false;

Look ReadSystemLook()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof(contrast);
    const bool highContrast = ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                              (contrast.dwFlags & HCF_HIGHCONTRASTON);
    DWORD value = 0, type = 0, size = sizeof(value);
    RegKey key;
    const bool hasValue = key.Open(HKEY_CURRENT_USER, kPersonalizeKey, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
                          ::RegQueryValueExA(key.Get(), kAppsUseLightTheme, nullptr, &type,
                                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                          type == REG_DWORD && size == sizeof(value);
    return AfxDecideLook(highContrast, hasValue, value);
}

// The brushes of AfxLookBrush, one per colour, deleted at exit.
struct BrushCache {
    HBRUSH brushes[kColorCount] = {};
    COLORREF colors[kColorCount] = {};
    ~BrushCache()
    {
        for (HBRUSH brush : brushes)
            if (brush) ::DeleteObject(brush);
    }
};

// The dark parts of the system, where it has them: a dark title bar (Windows
// 10 1809 and later: attribute 20 from version 2004 on, 19 before) and the
// dark themes of the controls (Windows 10 1809 and later; an older system
// falls back to the control's ordinary theme).
using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

void SetDarkTitleBar(HWND window, bool dark)
{
    static SystemLibrary dwmapi("dwmapi.dll");
    static const auto setAttribute = dwmapi.Function<DwmSetWindowAttributeFn>("DwmSetWindowAttribute");
    if (!setAttribute) return;
    const BOOL value = dark ? TRUE : FALSE;
    if (FAILED(setAttribute(window, 20, &value, sizeof(value))) &&
        FAILED(setAttribute(window, 19, &value, sizeof(value))))
        return;
    // The caption is drawn again in its new colours.
    if (::IsWindowVisible(window))
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dark theme of a control of the system by its class name; null for one
// that keeps its own.
const wchar_t* DarkThemeOf(const char* className)
{
    static const struct {
        const char* className;
        const wchar_t* theme;
    } kThemes[] = {
        {"Button", L"DarkMode_Explorer"},  {"ComboBox", L"DarkMode_CFD"},  {"Edit", L"DarkMode_Explorer"},
        {"ListBox", L"DarkMode_Explorer"}, {"ComboLBox", L"DarkMode_Explorer"},
        {"ScrollBar", L"DarkMode_Explorer"}, {"tooltips_class32", L"DarkMode_Explorer"},
    };
    for (const auto& entry : kThemes)
        if (::lstrcmpiA(className, entry.className) == 0) return entry.theme;
    return nullptr;
}

void SetDarkTheme(HWND window, bool dark)
{
    char name[64] = {};
    if (!::GetClassNameA(window, name, static_cast<int>(std::size(name)))) return;
    const wchar_t* theme = DarkThemeOf(name);
    if (!theme) return;
    static SystemLibrary uxtheme("uxtheme.dll");
    static const auto setTheme = uxtheme.Function<SetWindowThemeFn>("SetWindowTheme");
    // No names: the control's ordinary theme again.
    if (setTheme) setTheme(window, dark ? theme : nullptr, nullptr);
}

BOOL CALLBACK ThemeChild(HWND child, LPARAM dark)
{
    SetDarkTheme(child, dark != 0);
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// One top-level window with its controls.
void ApplyToTopLevel(HWND window, bool dark)
{
    if ((::GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) SetDarkTitleBar(window, dark);
    SetDarkTheme(window, dark);
    ::EnumChildWindows(window, &ThemeChild, dark ? 1 : 0);
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// A message box in the dark look: the box is the first dialog-class window
// created while the hook is in place; as it is activated it is given the
// dialogs' colours through a subclass of its own. No other window is
// touched: the box's owner, activated again as the box closes, answers its
// colours itself.
constexpr char kMessageBoxProc[] = "Pairmate.LookProc";
HHOOK g_messageBoxHook = nullptr;
HWND g_messageBox = nullptr;

LRESULT CALLBACK MessageBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto previous = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kMessageBoxProc));
    LRESULT colors = 0;
    if (AfxLookOnCtlColor(msg, wParam, &colors)) return colors;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropA(hwnd, kMessageBoxProc);
    }
    return ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = g_messageBoxHook;
    auto box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && !g_messageBox && AfxIsWindowClass(box, "#32770")) g_messageBox = box;
    if (code == HCBT_ACTIVATE && box == g_messageBox && !::GetPropA(box, kMessageBoxProc)) {
        ::SetPropA(box, kMessageBoxProc, reinterpret_cast<HANDLE>(::GetWindowLongPtrW(box, GWLP_WNDPROC)));
        ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageBoxProc));
        ApplyToTopLevel(box, true);
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

Look AfxDecideLook(bool highContrast, bool hasAppsValue, DWORD appsUseLightTheme)
{
    if (highContrast) return Look::Contrast;
    return hasAppsValue && appsUseLightTheme == 0 ? Look::Dark : Look::Light;
}

Look AfxGetLook()
{
    if (!g_lookRead) {
        g_look = ReadSystemLook();
        g_lookRead = true;
    }
    return g_look;
}

UINT AfxLookChangedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Pairmate.LookChanged");
    return message;
}

bool AfxUpdateLook(bool systemColorsChanged)
{
    const Look before = AfxGetLook();
    g_look = ReadSystemLook();
    // A contrast theme's pictures are made of the system's colours.
    if (g_look == before && !(systemColorsChanged && g_look == Look::Contrast)) return false;
    const bool dark = g_look == Look::Dark;
    for (HWND window : ThreadWindows()) {
        if (!::IsWindow(window)) continue;
        if (dark || before == Look::Dark) ApplyToTopLevel(window, dark);
        ::SendMessageA(window, AfxLookChangedMessage(), 0, 0);
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return true;
}

COLORREF AfxLookColor(LookColor color, Look look)
{
    const Shade* table = look == Look::Dark ? kDark : look == Look::Contrast ? kContrast : kLight;
    const Shade& shade = table[static_cast<size_t>(color)];
    return shade.sysColor >= 0 ? ::GetSysColor(shade.sysColor) : shade.rgb;
}

COLORREF AfxLookColor(LookColor color)
{
    return AfxLookColor(color, AfxGetLook());
}

HBRUSH AfxLookBrush(LookColor color)
{
    static BrushCache cache;
    const size_t i = static_cast<size_t>(color);
    const COLORREF rgb = AfxLookColor(color);
    if (!cache.brushes[i] || cache.colors[i] != rgb) {
        if (cache.brushes[i]) ::DeleteObject(cache.brushes[i]);
        cache.brushes[i] = ::CreateSolidBrush(rgb);
        cache.colors[i] = rgb;
    }
    return cache.brushes[i];
}

HBRUSH AfxLookCtlColor(UINT msg, HDC dc)
{
    if (AfxGetLook() != Look::Dark) return nullptr;
    const bool field = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    const LookColor back = field ? LookColor::Field : LookColor::Face;
    ::SetTextColor(dc, AfxLookColor(field ? LookColor::FieldText : LookColor::Text));
    ::SetBkColor(dc, AfxLookColor(back));
    return AfxLookBrush(back);
}

bool AfxLookOnCtlColor(UINT msg, WPARAM wParam, LRESULT* result)
{
    if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC || msg == WM_CTLCOLORSCROLLBAR) return false;
    HBRUSH brush = AfxLookCtlColor(msg, reinterpret_cast<HDC>(wParam));
    if (!brush) return false;
    *result = reinterpret_cast<LRESULT>(brush);
    return true;
}

void AfxApplyLookToWindow(HWND window, bool wasDark)
{
    const bool dark = AfxGetLook() == Look::Dark;
    if (!dark && !wasDark) return;
    ApplyToTopLevel(window, dark);
    // The tooltips of its controls are top-level windows of their own.
    for (HWND other : ThreadWindows())
        if (other != window) SetDarkTheme(other, dark);
}

int AfxLookMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (AfxGetLook() != Look::Dark || g_messageBoxHook) return ::MessageBoxA(owner, text, caption, type);
    g_messageBox = nullptr;
    g_messageBoxHook = ::SetWindowsHookExA(WH_CBT, &MessageBoxHook, nullptr, ::GetCurrentThreadId());
    const int result = ::MessageBoxA(owner, text, caption, type);
    if (g_messageBoxHook) ::UnhookWindowsHookEx(g_messageBoxHook);
    g_messageBoxHook = nullptr;
    g_messageBox = nullptr;
    return result;
}
