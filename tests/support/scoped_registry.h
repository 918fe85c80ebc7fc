// A DWORD of the current user's registry set (null: removed) for the length
// of a test and put back afterwards (the tests share a prefix); `changed`
// runs after each write.
#pragma once

#include "framework/Look.h"

#include <windows.h>

class ScopedUserDword {
public:
    ScopedUserDword(const char* key, const char* name, const DWORD* value, void (*changed)() = nullptr);
    ~ScopedUserDword();
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;

private:
    const char *m_key, *m_name;
    void (*m_changed)();
    bool m_had = false;
    DWORD m_saved = 0;
    void Write(const DWORD* value) const;
};

// The app mode ("AppsUseLightTheme": 0 dark), followed at once by this
// process's look and by programs as they start.
class ScopedAppMode : public ScopedUserDword {
public:
    explicit ScopedAppMode(const DWORD* value)
        : ScopedUserDword("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", "AppsUseLightTheme",
                          value, [] { AfxUpdateLook(); }) {}
};
