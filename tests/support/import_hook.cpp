#include "support/import_hook.h"

#include <cstring>

namespace {

void Store(void** slot, void* value)
{
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old)) return;
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), old, &old);
}

// The import address table entry of dll!function in this program, or null.
void** FindSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

} // namespace

ImportHook::ImportHook(const char* dll, const char* function, const void* replacement)
    : m_slot(FindSlot(dll, function))
{
    if (!m_slot) return;
    m_original = *m_slot;
    Store(m_slot, const_cast<void*>(replacement));
}

ImportHook::~ImportHook()
{
    if (m_slot) Store(m_slot, m_original);
}
