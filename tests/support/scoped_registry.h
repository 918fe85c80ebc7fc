// A DWORD of the current user's registry set (none: removed) for the length
// of a test and put back afterwards (the tests share a prefix); `changed`
// runs after each write.
#pragma once

#include "framework/Handles.h"
#include "framework/Look.h"

#include <windows.h>

#include <optional>

class ScopedUserDword {
public:
    ScopedUserDword(const char* key, const char* name, std::optional<DWORD> value, void (*changed)() = nullptr)
        : m_key(key), m_name(name), m_changed(changed)
    {
        RegKey k;
        DWORD saved = 0, size = sizeof(saved);
        if (k.Open(HKEY_CURRENT_USER, key, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
            ::RegQueryValueExA(k.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&saved), &size) == 0)
            m_saved = saved;
        Write(value);
    }
    ~ScopedUserDword() { Write(m_saved); }
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;

private:
    const char *m_key, *m_name;
    void (*m_changed)();
    std::optional<DWORD> m_saved;
    void Write(std::optional<DWORD> value) const
    {
        RegKey k;
        if (k.Create(HKEY_CURRENT_USER, m_key, KEY_SET_VALUE) == ERROR_SUCCESS)
            value ? ::RegSetValueExA(k.Get(), m_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), 4)
                  : ::RegDeleteValueA(k.Get(), m_name);
        if (m_changed) m_changed();
    }
};

// The app mode ("AppsUseLightTheme": 0 dark), followed at once by this
// process's look and by programs as they start.
class ScopedAppMode : public ScopedUserDword {
public:
    explicit ScopedAppMode(std::optional<DWORD> value)
        : ScopedUserDword("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", "AppsUseLightTheme",
                          value, [] { AfxUpdateLook(); }) {}
};
