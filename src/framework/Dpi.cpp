#include "framework/Dpi.h"

#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"

namespace {

// Functions that only newer systems have, looked up once.
template <class F>
F UserFunction(const char* name)
{
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// NONCLIENTMETRICSW as the per-DPI query wants it: with the field that
// Windows Vista added (the program's headers are Windows XP's).
struct NonClientMetricsW {
    NONCLIENTMETRICSW metrics;
    int paddedBorderWidth;
};

} // namespace

UINT AfxUsableDpi(UINT dpi)
{
    return dpi >= kDefaultDpi && dpi <= kMaxDpi ? dpi : kDefaultDpi;
}

UINT AfxGetSystemDpi()
{
    // Fixed for the life of a process.
    static const UINT dpi = [] {
        WindowDC screen(nullptr);
        return AfxUsableDpi(screen ? static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY)) : 0);
    }();
    return dpi;
}

UINT AfxQueryWindowDpi(HWND hwnd)
{
    if (!hwnd) return AfxGetSystemDpi();
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (UINT dpi = getDpiForWindow(hwnd)) return AfxUsableDpi(dpi);
        return AfxGetSystemDpi();
    }
    // Windows 8.1 to 10 1511: the DPI of the window's monitor, from the
    // shell's scaling library, loaded for as long as the program runs.
    static SystemLibrary shcore("shcore.dll");
    static const auto getDpiForMonitor = shcore.Function<GetDpiForMonitorFn>("GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (getDpiForMonitor &&
        SUCCEEDED(getDpiForMonitor(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)))
        return AfxUsableDpi(y);
    return AfxGetSystemDpi();
}

int AfxScale(int length, UINT dpi)
{
    const long long scaled = static_cast<long long>(length) * dpi;
    const long long half = kDefaultDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDefaultDpi : (scaled - half) / kDefaultDpi);
}

int AfxGetSystemMetricsForDpi(int index, UINT dpi)
{
    static const auto forDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    const UINT system = AfxGetSystemDpi();
    if (dpi == system) return ::GetSystemMetrics(index);
    if (forDpi) return forDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(system));
}

HFONT AfxCreateMenuFont(UINT dpi)
{
    static const auto forDpi = UserFunction<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    const UINT system = AfxGetSystemDpi();
    if (dpi != system && forDpi) {
        NonClientMetricsW ncm = {};
        ncm.metrics.cbSize = sizeof(ncm);
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, dpi))
            return ::CreateFontIndirectW(&ncm.metrics.lfMenuFont);
    }
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return nullptr;
    // Without the per-DPI query: the system's font, resized.
    if (dpi != system)
        ncm.lfMenuFont.lfHeight = ::MulDiv(ncm.lfMenuFont.lfHeight, static_cast<int>(dpi), static_cast<int>(system));
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

ScaledBitmap AfxFindScaledBitmap(UINT id, UINT dpi)
{
    static const ScaledBitmap kDrawn[] = {{3000, 192}, {2000, 144}, {1000, 120}};
    for (const ScaledBitmap& drawn : kDrawn) {
        const UINT variant = id + drawn.id;
        if (dpi >= drawn.dpi &&
            ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(variant), MAKEINTRESOURCEA(2) /* RT_BITMAP */))
            return {variant, drawn.dpi};
    }
    return {id, kDefaultDpi};
}
