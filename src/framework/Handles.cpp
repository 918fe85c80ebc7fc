#include "framework/Handles.h"

#include <cstring>
#include <string>

char* AllocPostedText(const char* text, size_t length)
{
    auto* block = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, length + 1));
    if (!block) return nullptr;
    if (length) std::memcpy(block, text, length);
    block[length] = '\0';
    return block;
}

void FreePostedText(char* block)
{
    if (block) ::HeapFree(::GetProcessHeap(), 0, block);
}

SystemLibrary::SystemLibrary(const char* name)
{
    char folder[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    m_module = ::LoadLibraryA((std::string(folder, n) + "\\" + name).c_str());
}
