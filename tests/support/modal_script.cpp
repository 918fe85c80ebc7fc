#include "support/modal_script.h"

#include "framework/Wnd.h"

namespace {

ModalScript* g_activeScript = nullptr;

struct FindDialog {
    const char* caption;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hwnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindDialog*>(lParam);
    char cls[32] = {};
    ::GetClassNameA(hwnd, cls, sizeof(cls));
    if (hwnd == find->except || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(hwnd)) return TRUE;
    if (find->caption && GetWindowTextString(hwnd) != find->caption) return TRUE;
    find->found = hwnd;
    return FALSE;
}

bool IsStaticOfStyle(HWND hwnd, bool icon)
{
    char cls[32] = {};
    ::GetClassNameA(hwnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") != 0) return false;
    bool isIcon = (::GetWindowLongPtrA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    return isIcon == icon;
}

} // namespace

ModalScript::ModalScript(DWORD timeoutMs) : m_timeoutMs(timeoutMs) {}

ModalScript::~ModalScript()
{
    Stop();
}

ModalScript& ModalScript::Then(std::function<bool()> step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

void ModalScript::Start()
{
    Stop();
    g_activeScript = this;
    m_start = ::GetTickCount();
    m_timer = ::SetTimer(nullptr, 0, 20, &ModalScript::OnTimer);
}

void ModalScript::Stop()
{
    if (m_timer) ::KillTimer(nullptr, m_timer);
    m_timer = 0;
    if (g_activeScript == this) g_activeScript = nullptr;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_activeScript) g_activeScript->Tick();
}

void ModalScript::Tick()
{
    if (m_running) return; // a step opened a loop of its own
    if (Finished()) {
        Stop();
        return;
    }
    if (::GetTickCount() - m_start > m_timeoutMs) {
        m_timedOut = true;
        Stop();
        // Close whatever is still open, innermost first.
        for (int i = 0; i < 10; ++i) {
            HWND box = FindThreadDialog(nullptr);
            if (!box) break;
            ::SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    m_running = true;
    if (m_steps[m_next]()) ++m_next;
    m_running = false;
}

HWND FindThreadDialog(const char* caption, HWND except)
{
    FindDialog find = {caption, except, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::string MessageBoxCaption(HWND box)
{
    return GetWindowTextString(box);
}

std::string MessageBoxMessage(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsStaticOfStyle(child, false)) {
            std::string text = GetWindowTextString(child);
            if (!text.empty()) return text;
        }
    }
    return std::string();
}

bool MessageBoxHasExclamationIcon(HWND box)
{
    HICON exclamation = ::LoadIconA(nullptr, IDI_EXCLAMATION);
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsStaticOfStyle(child, true) &&
            reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0)) == exclamation)
            return true;
    }
    return false;
}

void Click(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
