// A value of the current user's registry set (or removed) for the length of
// a test, and put back as it was afterwards: the tests share a prefix.
#pragma once

#include <windows.h>

#include <memory>

class ScopedUserDword {
public:
    // `value` null: the value is removed.
    ScopedUserDword(const char* key, const char* name, const DWORD* value);
    ~ScopedUserDword();
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;

private:
    const char* m_key;
    const char* m_name;
    bool m_had = false;
    DWORD m_saved = 0;
};

// The system's app mode ("AppsUseLightTheme": 0 dark, absent or 1 light),
// which this process's look follows at once and programs started later as
// they start.
class ScopedAppMode {
public:
    explicit ScopedAppMode(const DWORD* value);
    ~ScopedAppMode();

private:
    std::unique_ptr<ScopedUserDword> m_value;
};
