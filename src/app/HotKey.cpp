#include "app/HotKey.h"

#include <commctrl.h>

namespace {

// Two ids in turn: the new key is registered beside the old one before the
// old one goes.
const int kHotKeyIds[] = {1, 2};

#ifndef MOD_NOREPEAT
#define MOD_NOREPEAT 0x4000
#endif

BOOL Register(HWND hwnd, int id, WORD key)
{
    // A held key repeats no WM_HOTKEY where the system knows MOD_NOREPEAT
    // (Windows 7 and later); older systems refuse the flag.
    const UINT modifiers = CHotKey::Modifiers(key);
    if (::RegisterHotKey(hwnd, id, modifiers | MOD_NOREPEAT, LOBYTE(key))) return TRUE;
    if (::GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED) return FALSE;
    return ::RegisterHotKey(hwnd, id, modifiers, LOBYTE(key));
}

} // namespace

UINT CHotKey::Modifiers(WORD key)
{
    const BYTE flags = HIBYTE(key);
    UINT modifiers = 0;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return modifiers;
}

BOOL CHotKey::Change(HWND hwnd, WORD key)
{
    if (m_id && key == m_key && hwnd == m_hwnd) return TRUE;
    if (key == 0) {
        Release();
        return TRUE;
    }
    const int id = m_id == kHotKeyIds[0] ? kHotKeyIds[1] : kHotKeyIds[0];
    if (!Register(hwnd, id, key)) return FALSE;
    Release();
    m_hwnd = hwnd;
    m_id = id;
    m_key = key;
    return TRUE;
}

void CHotKey::Release()
{
    if (m_id) ::UnregisterHotKey(m_hwnd, m_id);
    m_hwnd = nullptr;
    m_id = 0;
    m_key = 0;
}
