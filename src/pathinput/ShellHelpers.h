// Small questions to the Windows shell about a path (icon, shortcut), the
// item-id-list (PIDL) helpers, and the readers that take a path or a text
// out of a data object being dropped.
//
// Item-id lists use the shell's task allocator: a list handed out by
// AllocPidl or CombinePidls is freed with FreePidl.
//
// Drop data comes from other programs and is never trusted: every read of a
// dropped block stays inside the block's GlobalSize, and a block whose
// counts, offsets or terminators do not fit is refused.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>

// Shell information about a path --------------------------------------------

// The path's icon index in the system image list (0 when the shell does not
// know the path). Always TRUE.
BOOL GetSysIconIndex(const std::string& path, int& index);
// TRUE when the shell reports the path as a shortcut.
BOOL IsShortcut(const std::string& path);
// A new large icon for the path (with the shortcut arrow for shortcuts), or
// nullptr. The caller destroys it (UniqueIcon).
HICON GetFileIcon(const std::string& path);

// Item-id lists ------------------------------------------------------------

// A zero-filled block of `size` bytes from the shell allocator, or nullptr.
LPITEMIDLIST AllocPidl(UINT size);
// Frees a block of the shell allocator; FALSE when the allocator is missing.
BOOL FreePidl(LPITEMIDLIST pidl);
// Bytes of a well-formed list including its terminator: 0 for nullptr,
// 2 for the empty list.
UINT GetPidlSize(LPCITEMIDLIST pidl);
// The same for a list of unknown origin that may not reach past `limit`
// bytes from its start: 0 when the terminator is not found within the limit
// or an item is malformed (a count below 2 or running past the limit).
UINT GetPidlSizeBounded(LPCITEMIDLIST pidl, SIZE_T limit);
// A new list: the items of `first` (may be nullptr) followed by all of
// `second` (nullptr counts as the empty list). Free it with FreePidl.
LPITEMIDLIST CombinePidls(LPCITEMIDLIST first, LPCITEMIDLIST second);
// The file-system path of an absolute list; FALSE (path unchanged) when it
// has none, or when the ANSI code page cannot hold it exactly (then
// *notInCodePage, when given, is set).
BOOL GetPathFromPidl(LPCITEMIDLIST pidl, std::string& path, bool* notInCodePage = nullptr);

// Drop readers (the data object is borrowed: no reference is added or
// released) --------------------------------------------------------------

// TRUE when the object offers "Shell IDList Array" listing exactly one item;
// `path` then holds the item's file-system path, or stays unchanged when the
// item has none (a virtual item) or has one that the ANSI code page cannot
// hold (then *notInCodePage, when given, is set).
BOOL GetDroppedItemPath(IDataObject* data, std::string& path, bool* notInCodePage = nullptr);
// TRUE when the object is a single shell item whose path the ANSI code page
// cannot hold: a drop that must be refused with a word to the user.
BOOL IsDroppedPathOutsideCodePage(IDataObject* data);
// TRUE when the object offers a text: CF_UNICODETEXT where it offers one,
// else CF_TEXT. `text` then holds it up to its first NUL (or the end of the
// block), line breaks and spaces kept. A text that does not pass into the
// ANSI code page unchanged (a character the code page lacks, a lone
// surrogate, bytes that are no text of the code page) is refused.
BOOL GetDroppedPlainText(IDataObject* data, std::string& text);

// Owns a list of the shell allocator and frees it with FreePidl.
class UniquePidl {
public:
    UniquePidl() = default;
    explicit UniquePidl(LPITEMIDLIST pidl) : m_pidl(pidl) {}
    ~UniquePidl() { Reset(); }
    UniquePidl(UniquePidl&& o) noexcept : m_pidl(o.Release()) {}
    UniquePidl& operator=(UniquePidl&& o) noexcept
    {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    UniquePidl(const UniquePidl&) = delete;
    UniquePidl& operator=(const UniquePidl&) = delete;

    LPITEMIDLIST Get() const { return m_pidl; }
    explicit operator bool() const { return m_pidl != nullptr; }
    // For functions that hand out a new list (SHParseDisplayName and kin).
    LPITEMIDLIST* Receive()
    {
        Reset();
        return &m_pidl;
    }
    LPITEMIDLIST Release()
    {
        LPITEMIDLIST pidl = m_pidl;
        m_pidl = nullptr;
        return pidl;
    }
    void Reset(LPITEMIDLIST pidl = nullptr)
    {
        if (m_pidl) FreePidl(m_pidl);
        m_pidl = pidl;
    }

private:
    LPITEMIDLIST m_pidl = nullptr;
};
