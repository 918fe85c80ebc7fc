#include "bar/BarMonitor.h"

#include "settings/Registry.h"
#include "settings/Settings.h"

#include <vector>

namespace {

bool Describe(HMONITOR monitor, MONITORINFOEXA& info)
{
    info = {};
    info.cbSize = sizeof(info);
    return monitor && ::GetMonitorInfoA(monitor, &info);
}

MonitorPlace PlaceOf(const MONITORINFOEXA& info)
{
    MonitorPlace place;
    place.rect = info.rcMonitor;
    place.device = info.szDevice;
    return place;
}

HMONITOR Primary()
{
    return ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
}

// A signed decimal number (of at most nine digits) followed by a comma;
// advances `p` past both.
bool ReadNumber(const char*& p, long& out)
{
    const bool negative = *p == '-';
    if (negative) ++p;
    long value = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        if (digits == 9) return false;
        value = value * 10 + (*p - '0');
    }
    if (digits == 0 || *p != ',') return false;
    ++p;
    out = negative ? -value : value;
    return true;
}

} // namespace

std::string FormatMonitorPlace(const MonitorPlace& place)
{
    const RECT& r = place.rect;
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "," + place.device;
}

bool ParseMonitorPlace(const std::string& text, MonitorPlace& place)
{
    const char* p = text.c_str();
    long n[4] = {};
    for (long& value : n)
        if (!ReadNumber(p, value)) return false;
    // A monitor has an area: anything else is no monitor's rectangle.
    if (n[2] <= n[0] || n[3] <= n[1]) return false;
    place.rect = RECT{n[0], n[1], n[2], n[3]};
    place.device = p;
    return true;
}

bool CBarMonitor::Several()
{
    return ::GetSystemMetrics(SM_CMONITORS) > 1;
}

HMONITOR CBarMonitor::AtPoint(POINT point)
{
    return ::MonitorFromPoint(point, MONITOR_DEFAULTTONULL);
}

HMONITOR CBarMonitor::Find(const MonitorPlace& place)
{
    std::vector<HMONITOR> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    HMONITOR best = nullptr;
    int bestScore = 0;
    for (HMONITOR monitor : monitors) {
        MONITORINFOEXA info;
        if (!Describe(monitor, info)) continue;
        // The rectangle counts for more than the name: names may be handed
        // out anew, a monitor that stays where it was is the same one.
        const int score = (::EqualRect(&info.rcMonitor, &place.rect) ? 2 : 0) +
                          (!place.device.empty() && place.device == info.szDevice ? 1 : 0);
        if (score > bestScore) {
            best = monitor;
            bestScore = score;
        }
    }
    return best;
}

bool CBarMonitor::Set(HMONITOR monitor)
{
    if (monitor == Primary()) monitor = nullptr;
    if (monitor == m_monitor) return false;
    MONITORINFOEXA info;
    if (monitor && !Describe(monitor, info)) monitor = nullptr;
    m_monitor = monitor;
    m_place = monitor ? PlaceOf(info) : MonitorPlace();
    return true;
}

bool CBarMonitor::Rects(RECT& monitor, RECT& work) const
{
    if (!Several()) return false;
    MONITORINFOEXA info;
    if (!Describe(m_monitor, info) && !Describe(Primary(), info)) return false;
    monitor = info.rcMonitor;
    work = info.rcWork;
    return true;
}

void CBarMonitor::Refind()
{
    if (!m_monitor) {
        Load();
        return;
    }
    MONITORINFOEXA info;
    HMONITOR found = nullptr;
    // A handle the system no longer knows, or one it has given to another
    // monitor, is looked for by the place the bar's monitor had.
    if (Describe(m_monitor, info) && m_place.device == info.szDevice)
        found = m_monitor;
    else
        found = Find(m_place);
    m_monitor = nullptr;
    m_place = MonitorPlace();
    if (!found) return;
    Set(found);
    Save();
}

void CBarMonitor::Load()
{
    if (!Several()) return;
    std::string text;
    MonitorPlace place;
    if (!ReadRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegMonitor, text) || !ParseMonitorPlace(text, place))
        return;
    Set(Find(place));
}

void CBarMonitor::Save() const
{
    if (!Several()) return;
    MONITORINFOEXA info;
    if (!Describe(m_monitor ? m_monitor : Primary(), info)) return;
    WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegMonitor, FormatMonitorPlace(PlaceOf(info)).c_str());
}
