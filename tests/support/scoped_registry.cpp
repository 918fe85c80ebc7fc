#include "support/scoped_registry.h"

#include "framework/Handles.h"

ScopedUserDword::ScopedUserDword(const char* key, const char* name, const DWORD* value, void (*changed)())
    : m_key(key), m_name(name), m_changed(changed)
{
    RegKey k;
    DWORD size = sizeof(m_saved);
    if (k.Open(HKEY_CURRENT_USER, key, KEY_QUERY_VALUE) == ERROR_SUCCESS)
        m_had = ::RegQueryValueExA(k.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&m_saved), &size) == 0;
    Write(value);
}

ScopedUserDword::~ScopedUserDword()
{
    Write(m_had ? &m_saved : nullptr);
}

void ScopedUserDword::Write(const DWORD* value) const
{
    RegKey k;
    if (k.Create(HKEY_CURRENT_USER, m_key, KEY_SET_VALUE) == ERROR_SUCCESS) {
        if (value)
            ::RegSetValueExA(k.Get(), m_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(value), sizeof(*value));
        else
            ::RegDeleteValueA(k.Get(), m_name);
    }
    if (m_changed) m_changed();
}
