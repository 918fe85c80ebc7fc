// Puts a function of the test's own in place of one that the test program
// imports (its entry in the import address table), for as long as the hook
// lives. The program's code linked into the test then calls the replacement,
// which sees exactly the arguments that code passes to the system.
#pragma once

#include <windows.h>

class ImportHook {
public:
    ImportHook(const char* dll, const char* function, const void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }
    // The function that was in place before, to call through to it.
    template <class F>
    F Original() const
    {
        return reinterpret_cast<F>(m_original);
    }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};
