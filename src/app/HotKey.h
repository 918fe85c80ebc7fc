// CHotKey: the system-wide hot key of one window. Keys are given in the
// hot-key control's form (virtual key in the low byte, HOTKEYF_* in the high
// byte; 0 is none), and reach the window as WM_HOTKEY with GetId().
#pragma once

#include <windows.h>

class CHotKey {
public:
    CHotKey() = default;
    ~CHotKey() { Release(); }
    CHotKey(const CHotKey&) = delete;
    CHotKey& operator=(const CHotKey&) = delete;

    // Makes `key` the window's hot key in place of the one it holds; 0 lets
    // the old one go. The old key is let go only once the new one is
    // registered: FALSE, with the old key kept, when the system refuses the
    // new one (another program holds it, or Windows keeps it for itself).
    // The key held already is kept as it is.
    BOOL Change(HWND hwnd, WORD key);
    // Lets the key go.
    void Release();

    // The id WM_HOTKEY carries for the key registered now (0: none).
    int GetId() const { return m_id; }

    // The MOD_* flags RegisterHotKey takes for a key's HOTKEYF_* bits.
    static UINT Modifiers(WORD key);
    // The keyboard layout types a character with `key`: Windows takes
    // Ctrl+Alt for AltGr, with which many layouts type characters (AltGr+Q
    // is "@" in German); a hot key on it would swallow the character.
    static bool TypesCharacter(WORD key, HKL layout);
    // The decision on what the layout answers for a key held with the
    // key's modifiers (ToUnicodeEx: a count of characters, negative for a
    // dead key, and the characters).
    static bool TypesCharacter(WORD key, int count, const WCHAR* chars);

private:
    HWND m_hwnd = nullptr;
    int m_id = 0; // 0 while no key is registered
    WORD m_key = 0;
};
