#include "framework/Handles.h"

#include <cstring>

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
