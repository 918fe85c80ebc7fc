// A DWORD of the current user's registry set (null: removed) for the length
// of a test and put back afterwards: the tests share a prefix.
#pragma once

#include <windows.h>

#include <memory>

class ScopedUserDword {
public:
    ScopedUserDword(const char* key, const char* name, const DWORD* value);
    ~ScopedUserDword();
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;

private:
    const char *m_key, *m_name;
    bool m_had = false;
    DWORD m_saved = 0;
    void Write(const DWORD* value) const;
};

// The app mode ("AppsUseLightTheme": 0 dark), followed at once by this
// process's look and by programs as they start.
class ScopedAppMode {
public:
    explicit ScopedAppMode(const DWORD* value);
    ~ScopedAppMode();

private:
    std::unique_ptr<ScopedUserDword> m_value;
};
