#include "pathinput/ShellHelpers.h"

#include "framework/Handles.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

namespace {

FORMATETC TextFormat(CLIPFORMAT format)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Size of an item-id list that starts `offset` bytes into a block of `size`
// bytes, terminator included; 0 when the list runs past the block.
size_t BoundedPidlSize(const BYTE* block, size_t size, size_t offset)
{
    size_t pos = offset;
    for (;;) {
        if (pos >= size || size - pos < sizeof(USHORT)) return 0;
        USHORT cb = 0;
        std::memcpy(&cb, block + pos, sizeof(cb));
        if (cb == 0) return pos + sizeof(USHORT) - offset;
        if (cb < sizeof(USHORT)) return 0;
        pos += cb;
    }
}

} // namespace

HICON GetFileIcon(const std::string& path)
{
    SHFILEINFOA info = {};
    UINT flags = SHGFI_ICON;
    if (::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ATTRIBUTES) &&
        (info.dwAttributes & SFGAO_LINK))
        flags |= SHGFI_LINKOVERLAY;
    info = SHFILEINFOA{};
    if (!::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), flags)) return nullptr;
    return info.hIcon;
}

BOOL GetDroppedItemPath(IDataObject* data, std::string& path)
{
    if (!data) return FALSE;
    static const CLIPFORMAT format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(CFSTR_SHELLIDLIST));
    FORMATETC fmt = TextFormat(format);
    if (data->QueryGetData(&fmt) != S_OK) return FALSE;
    StgMedium medium;
    if (FAILED(data->GetData(&fmt, &medium)) || medium.Get().tymed != TYMED_HGLOBAL) return FALSE;
    GlobalLockGuard lock(medium.Get().hGlobal);
    const auto* block = static_cast<const BYTE*>(lock.Data());
    const size_t size = lock.Size();
    if (!block || size < 3 * sizeof(UINT)) return FALSE;
    UINT offsets[3] = {};
    std::memcpy(offsets, block, sizeof(offsets)); // cidl, parent offset, item offset
    if (offsets[0] != 1) return FALSE;
    size_t parentSize = BoundedPidlSize(block, size, offsets[1]);
    size_t itemSize = BoundedPidlSize(block, size, offsets[2]);
    if (parentSize == 0 || itemSize == 0) return FALSE;

    // Parent items (without their terminator) followed by the item's list.
    std::vector<BYTE> absolute(parentSize - sizeof(USHORT) + itemSize);
    std::memcpy(absolute.data(), block + offsets[1], parentSize - sizeof(USHORT));
    std::memcpy(absolute.data() + parentSize - sizeof(USHORT), block + offsets[2], itemSize);
    char buffer[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(absolute.data()), buffer))
        path.assign(buffer, strnlen(buffer, sizeof(buffer)));
    return TRUE;
}

BOOL GetDroppedPlainText(IDataObject* data, std::string& text)
{
    if (!data) return FALSE;
    FORMATETC fmt = TextFormat(CF_TEXT);
    if (data->QueryGetData(&fmt) != S_OK) return FALSE;
    StgMedium medium;
    if (FAILED(data->GetData(&fmt, &medium)) || medium.Get().tymed != TYMED_HGLOBAL) return FALSE;
    GlobalLockGuard lock(medium.Get().hGlobal);
    const auto* bytes = static_cast<const char*>(lock.Data());
    if (!bytes) return FALSE;
    const void* nul = std::memchr(bytes, '\0', lock.Size());
    size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : lock.Size();
    text.assign(bytes, length);
    return TRUE;
}
