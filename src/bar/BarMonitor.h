// CBarMonitor: the monitor the bar lives on, and that monitor's work area.
//
// With one monitor (or a system without the multi-monitor functions) there is
// nothing to choose: the bar's monitor is the screen and its work area the
// desktop's (CFrameBarWnd::GetWorkArea), and nothing is stored.
//
// With several, the bar belongs to one of them: the primary at first, the one
// an Alt-drag takes it to, the one it was left on when the program last ran.
// The monitor is kept by its handle and by what identifies it again after a
// display change or a restart: its rectangle on the virtual screen and its
// device name. Neither alone is enough (the system may hand out the device
// names anew when monitors are rearranged, and a moved monitor keeps its
// name), so a stored monitor is found again by both, then by its rectangle,
// then by its name; when none matches, the bar goes to the primary.
#pragma once

#include <windows.h>

#include <string>

// What identifies a monitor across display changes and restarts.
struct MonitorPlace {
    RECT rect = {};      // the monitor's rectangle, virtual-screen coordinates
    std::string device;  // its device name ("\\.\DISPLAY2")
};

// The stored form of a place, "left,top,right,bottom,device", and back;
// false for text that is not one (empty, numbers missing or out of order).
std::string FormatMonitorPlace(const MonitorPlace& place);
bool ParseMonitorPlace(const std::string& text, MonitorPlace& place);

class CBarMonitor {
public:
    // More than one monitor shows the desktop.
    static bool Several();
    // The monitor at a point of the virtual screen (null: none there).
    static HMONITOR AtPoint(POINT point);
    // Of the monitors there are now, the one that best matches `place`, or
    // null when none does.
    static HMONITOR Find(const MonitorPlace& place);

    // The bar's monitor: null for the primary.
    HMONITOR Get() const { return m_monitor; }
    // Makes `monitor` the bar's (null: the primary); false when it is the
    // bar's already.
    bool Set(HMONITOR monitor);
    // The monitor's rectangle and work area: false when there is only one
    // monitor (the caller then uses the desktop's). A monitor that has gone
    // gives the primary's.
    bool Rects(RECT& monitor, RECT& work) const;
    // After a display change: the bar's monitor again, its new place stored;
    // when it has gone, the primary (the stored monitor stays for when it
    // comes back); on the primary, the stored monitor when it is back.
    void Refind();

    // The monitor stored in the program's key, when it is there now (only
    // with several monitors; the primary otherwise).
    void Load();
    // Stores the bar's monitor (only with several monitors: with one there is
    // nothing to remember, and a monitor stored earlier stays for when it
    // comes back).
    void Save() const;

private:
    HMONITOR m_monitor = nullptr;
    MonitorPlace m_place; // of m_monitor, when it is set
};
