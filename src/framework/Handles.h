// RAII for kernel handles, registry keys, icons, menus, locked global memory and COM
// interface pointers.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

// Owns one handle and gives it back with `Close` at the end. Null (and
// INVALID_HANDLE_VALUE, which CreateFile and its kind return) is "none".
template <class H, BOOL(WINAPI* Close)(H)>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(H h) : m_h(h) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept
    {
        if (this != &o) Reset(std::exchange(o.m_h, nullptr));
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    H Get() const { return m_h; }
    operator H() const { return m_h; }
    explicit operator bool() const { return Valid(m_h); }
    H Release() { return std::exchange(m_h, nullptr); }
    // Gives back the held handle and takes another (or none).
    void Reset(H h = nullptr)
    {
        if (Valid(m_h)) Close(m_h);
        m_h = h;
    }

private:
    static bool Valid(H h) { return h && reinterpret_cast<HANDLE>(h) != INVALID_HANDLE_VALUE; }
    H m_h = nullptr;
};

// A kernel handle closed with CloseHandle.
using UniqueHandle = UniqueResource<HANDLE, ::CloseHandle>;

// An open registry key, closed at the end.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& o) noexcept : m_key(std::exchange(o.m_key, nullptr)) {}
    RegKey& operator=(RegKey&& o) noexcept
    {
        if (this != &o) {
            Close();
            m_key = std::exchange(o.m_key, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY root, const char* path, REGSAM access)
    {
        Close();
        return ::RegOpenKeyExA(root, path, 0, access, &m_key);
    }
    LONG Create(HKEY parent, const char* name, REGSAM access)
    {
        Close();
        DWORD disposition = 0;
        return ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                 &m_key, &disposition);
    }
    void Close()
    {
        if (m_key) ::RegCloseKey(m_key);
        m_key = nullptr;
    }
    HKEY Get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key = nullptr;
};

// A DLL of the system loaded by its full path from the system folder (never
// from wherever the program lies), for as long as the object lives; for
// functions that only newer systems have, looked up as the program runs.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* name);
    ~SystemLibrary()
    {
        if (m_module) ::FreeLibrary(m_module);
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function `name` as type F; null when the DLL or the function is missing.
    template <class F>
    F Function(const char* name) const
    {
        return m_module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m_module, name))) : nullptr;
    }

private:
    HMODULE m_module = nullptr;
};

// An icon handle destroyed with DestroyIcon.
using UniqueIcon = UniqueResource<HICON, ::DestroyIcon>;
// A menu handle destroyed with DestroyMenu (with its submenus).
using UniqueMenu = UniqueResource<HMENU, ::DestroyMenu>;

// GlobalLock for the length of a scope; Size() is what the block really
// holds, so readers never go past it.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL mem)
        : m_mem(mem), m_ptr(mem ? ::GlobalLock(mem) : nullptr), m_size(m_ptr ? ::GlobalSize(mem) : 0) {}
    ~GlobalLockGuard()
    {
        if (m_ptr) ::GlobalUnlock(m_mem);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    const void* Data() const { return m_ptr; }
    SIZE_T Size() const { return m_size; }

private:
    HGLOBAL m_mem;
    void* m_ptr;
    SIZE_T m_size;
};

// A storage medium from IDataObject::GetData, released at the end.
class StgMedium {
public:
    StgMedium() { m_medium = {}; }
    ~StgMedium() { ::ReleaseStgMedium(&m_medium); }
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;
    // For a GetData call: the medium held before is released first, so a
    // second request with the same object loses nothing.
    STGMEDIUM* Receive()
    {
        ::ReleaseStgMedium(&m_medium);
        m_medium = {};
        return &m_medium;
    }
    const STGMEDIUM& Get() const { return m_medium; }

private:
    STGMEDIUM m_medium;
};

// A COM interface pointer that owns one reference.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    ComPtr& operator=(const ComPtr& o)
    {
        if (o.m_p) o.m_p->AddRef();
        Reset();
        m_p = o.m_p;
        return *this;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For functions that hand out a new reference.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void Reset()
    {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    // Takes over a reference the caller already owns.
    void Attach(T* p)
    {
        Reset();
        m_p = p;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }

private:
    T* m_p = nullptr;
};

// A NUL-terminated copy of a text on the process heap, for texts handed on
// through posted messages: the sender allocates, the receiver frees.
char* AllocPostedText(const char* text, size_t length);
void FreePostedText(char* block);
