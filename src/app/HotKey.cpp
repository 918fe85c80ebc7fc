#include "app/HotKey.h"

#include <commctrl.h>

#include <initializer_list>

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

bool CHotKey::TypesCharacter(WORD key, int count, const WCHAR* chars)
{
    // Only Ctrl+Alt is AltGr; Ctrl alone gives control codes, not text.
    const BYTE altGr = HOTKEYF_CONTROL | HOTKEYF_ALT;
    if ((HIBYTE(key) & altGr) != altGr) return false;
    if (count < 0) return true; // a dead key: an accent for the next letter
    return count > 0 && chars && chars[0] >= L' ' && chars[0] != 0x7F;
}

bool CHotKey::TypesCharacter(WORD key, HKL layout)
{
    const BYTE altGr = HOTKEYF_CONTROL | HOTKEYF_ALT;
    if ((HIBYTE(key) & altGr) != altGr) return false;
    // The keys as AltGr sends them (left Ctrl and right Alt), with Shift
    // when the key has it.
    BYTE state[256] = {};
    for (int vk : {VK_CONTROL, VK_LCONTROL, VK_MENU, VK_RMENU}) state[vk] = 0x80;
    if (HIBYTE(key) & HOTKEYF_SHIFT) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    const UINT vk = LOBYTE(key);
    const UINT scan = ::MapVirtualKeyExW(vk, 0 /* MAPVK_VK_TO_VSC */, layout);
    // Flag 4 leaves the keyboard state alone (Windows 10 1607 and later);
    // before, a dead key's accent is taken back by asking once more.
    const UINT kKeepState = 4;
    WCHAR chars[8] = {};
    const int count = ::ToUnicodeEx(vk, scan, state, chars, 8, kKeepState, layout);
    if (count < 0) {
        WCHAR again[8] = {};
        ::ToUnicodeEx(vk, scan, state, again, 8, kKeepState, layout);
    }
    return TypesCharacter(key, count, chars);
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
