#include "pathinput/ShellHelpers.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"

#include <climits>
#include <cstring>

namespace {

constexpr UINT kTerminatorSize = sizeof(USHORT);

// The byte count of the item at `p` (items need not be aligned).
USHORT ItemCount(const BYTE* p)
{
    USHORT cb;
    std::memcpy(&cb, p, sizeof(cb));
    return cb;
}

// Combines two lists whose sizes (terminator included) are already known.
LPITEMIDLIST CombineSized(LPCITEMIDLIST first, UINT firstSize, LPCITEMIDLIST second, UINT secondSize)
{
    const UINT a = first ? firstSize - kTerminatorSize : 0;
    const UINT b = second ? secondSize : kTerminatorSize;
    if (a > UINT_MAX - b) return nullptr;
    LPITEMIDLIST combined = AllocPidl(a + b);
    if (!combined) return nullptr;
    auto* out = reinterpret_cast<BYTE*>(combined);
    if (a) std::memcpy(out, first, a);
    if (second) std::memcpy(out + a, second, b);
    // A missing second list leaves the zero-filled terminator in place.
    return combined;
}

// Asks the object for a format in global memory. FALSE when the format is not
// offered, cannot be read, or comes in another kind of medium.
bool GetGlobalData(IDataObject* data, CLIPFORMAT format, StgMedium& medium)
{
    if (!data) return false;
    FORMATETC fmt = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (data->QueryGetData(&fmt) != S_OK) return false;
    if (FAILED(data->GetData(&fmt, medium.Receive()))) return false;
    return medium.Get().tymed == TYMED_HGLOBAL && medium.Get().hGlobal != nullptr;
}

CLIPFORMAT ShellIdListFormat()
{
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Shell IDList Array"));
}

} // namespace

// Shell information ---------------------------------------------------------

BOOL GetSysIconIndex(const std::string& path, int& index)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX);
    index = info.iIcon;
    return TRUE;
}

BOOL IsShortcut(const std::string& path)
{
    SHFILEINFOA info = {};
    if (!::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ATTRIBUTES)) return FALSE;
    return (info.dwAttributes & SFGAO_LINK) ? TRUE : FALSE;
}

HICON GetFileIcon(const std::string& path)
{
    UINT flags = SHGFI_ICON;
    if (IsShortcut(path)) flags |= SHGFI_LINKOVERLAY;
    SHFILEINFOA info = {};
    if (!::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), flags)) return nullptr;
    return info.hIcon;
}

// Item-id lists -------------------------------------------------------------

LPITEMIDLIST AllocPidl(UINT size)
{
    ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.Receive())) || !allocator) return nullptr;
    void* block = allocator->Alloc(size);
    if (!block) return nullptr;
    std::memset(block, 0, size);
    return static_cast<LPITEMIDLIST>(block);
}

BOOL FreePidl(LPITEMIDLIST pidl)
{
    ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.Receive())) || !allocator) return FALSE;
    allocator->Free(pidl);
    return TRUE;
}

UINT GetPidlSize(LPCITEMIDLIST pidl)
{
    if (!pidl) return 0;
    // Sum the items up to the terminating zero count, then add the terminator.
    UINT total = 0;
    const auto* p = reinterpret_cast<const BYTE*>(pidl);
    for (USHORT cb = ItemCount(p); cb != 0; cb = ItemCount(p)) {
        total += cb;
        p += cb;
    }
    return total + kTerminatorSize;
}

UINT GetPidlSizeBounded(LPCITEMIDLIST pidl, SIZE_T limit)
{
    if (!pidl) return 0;
    const auto* start = reinterpret_cast<const BYTE*>(pidl);
    SIZE_T pos = 0; // always <= limit
    for (;;) {
        if (limit - pos < kTerminatorSize) return 0; // no room for a count
        const USHORT cb = ItemCount(start + pos);
        if (cb == 0) {
            pos += kTerminatorSize;
            return pos <= UINT_MAX ? static_cast<UINT>(pos) : 0;
        }
        // An item holds at least its own count and ends inside the block.
        if (cb < kTerminatorSize || cb > limit - pos) return 0;
        pos += cb;
    }
}

LPITEMIDLIST CombinePidls(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    return CombineSized(first, GetPidlSize(first), second, GetPidlSize(second));
}

BOOL GetPathFromPidl(LPCITEMIDLIST pidl, std::string& path, bool* notInCodePage)
{
    if (notInCodePage) *notInCodePage = false;
    if (!pidl) return FALSE;
    // Asked in UTF-16: the ANSI function would put look-alikes in place of
    // characters the code page lacks, naming another file.
    WCHAR buffer[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(pidl, buffer)) return FALSE;
    buffer[MAX_PATH - 1] = L'\0';
    if (ToAnsiExact(buffer, path)) return TRUE;
    if (notInCodePage) *notInCodePage = true;
    return FALSE;
}

// Drop readers --------------------------------------------------------------

BOOL GetDroppedItemPath(IDataObject* data, std::string& path, bool* notInCodePage)
{
    if (notInCodePage) *notInCodePage = false;
    StgMedium medium;
    if (!GetGlobalData(data, ShellIdListFormat(), medium)) return FALSE;
    GlobalLockGuard lock(medium.Get().hGlobal);
    const auto* block = static_cast<const BYTE*>(lock.Data());
    const SIZE_T size = lock.Size();

    // The block: a count of items, count + 1 offsets (the parent folder's
    // absolute list, then each item's list relative to it), then the lists.
    UINT count = 0;
    if (!block || size < sizeof(count)) return FALSE;
    std::memcpy(&count, block, sizeof(count));
    if (count != 1) return FALSE;

    UINT offsets[2] = {};
    if (size < sizeof(count) + sizeof(offsets)) return FALSE;
    std::memcpy(offsets, block + sizeof(count), sizeof(offsets));

    LPCITEMIDLIST lists[2] = {};
    UINT sizes[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (offsets[i] >= size) return FALSE;
        lists[i] = reinterpret_cast<LPCITEMIDLIST>(block + offsets[i]);
        sizes[i] = GetPidlSizeBounded(lists[i], size - offsets[i]);
        if (!sizes[i]) return FALSE; // no terminator inside the block
    }

    UniquePidl absolute(CombineSized(lists[0], sizes[0], lists[1], sizes[1]));
    if (!absolute) return FALSE;
    GetPathFromPidl(absolute.Get(), path, notInCodePage); // a virtual item leaves the path as it was
    return TRUE;
}

BOOL IsDroppedPathOutsideCodePage(IDataObject* data)
{
    std::string path;
    bool notInCodePage = false;
    return GetDroppedItemPath(data, path, &notInCodePage) && notInCodePage;
}

BOOL GetDroppedPlainText(IDataObject* data, std::string& text)
{
    // The Unicode text first: the ANSI one is in the code page of the
    // program that offers it, which need not be this program's.
    StgMedium medium;
    if (GetGlobalData(data, CF_UNICODETEXT, medium)) {
        GlobalLockGuard lock(medium.Get().hGlobal);
        const auto* chars = static_cast<const WCHAR*>(lock.Data());
        if (!chars) return FALSE;
        // Up to the first NUL; a block without one ends the text at its end.
        const SIZE_T units = lock.Size() / sizeof(WCHAR);
        SIZE_T length = 0;
        while (length < units && chars[length] != L'\0') ++length;
        // A text that the code page cannot hold exactly (a lone surrogate,
        // or a character of another script in a classic code page) would
        // name another path.
        return ToAnsiExact(std::wstring(chars, length), text);
    }
    if (!GetGlobalData(data, CF_TEXT, medium)) return FALSE;
    GlobalLockGuard lock(medium.Get().hGlobal);
    const auto* chars = static_cast<const char*>(lock.Data());
    if (!chars) return FALSE;
    const void* nul = std::memchr(chars, '\0', lock.Size());
    const SIZE_T length = nul ? static_cast<SIZE_T>(static_cast<const char*>(nul) - chars) : lock.Size();
    // Bytes that are no text of the code page would become another text.
    std::wstring checked;
    if (!ToWideExact(chars, length, checked)) return FALSE;
    text.assign(chars, length);
    return TRUE;
}
