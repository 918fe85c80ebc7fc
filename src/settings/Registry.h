// The program's registry operations. Each one opens its key, does one thing,
// closes every handle it opened and returns 1 on success or 0 on failure.
// No key handle is kept between calls. Texts are in the ANSI code page; a
// stored text that the code page cannot hold exactly is not read (the read
// fails), so that no altered text is taken for it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Opens root\path (which must exist) and creates its child key `child`, or
// opens it when it exists already. Creates one level only.
int CreateRegKey(HKEY root, const char* path, const char* child);

// Reads up to 4 bytes of a value of any type into the low-order bytes of
// *out. *out is 0 unless the read succeeds; data longer than 4 bytes fails.
int ReadRegDword(HKEY root, const char* path, const char* name, DWORD* out);

// Writes a REG_DWORD value. The key must exist (it is not created).
int WriteRegDword(HKEY root, const char* path, const char* name, DWORD value);

// Reads a value of any type as text: whatever bytes are stored, ending at
// the first NUL or at the end of the data. `out` is emptied first.
int ReadRegString(HKEY root, const char* path, const char* name, std::string& out);

// Writes a REG_SZ value (the text and its terminating NUL). The key must exist.
int WriteRegString(HKEY root, const char* path, const char* name, const char* text);

// The same reads and writes on a key the caller has opened, for operations
// that touch many values of one key: the stored result is the same as with
// the functions above.
int ReadRegDwordValue(HKEY key, const char* name, DWORD* out);
int WriteRegDwordValue(HKEY key, const char* name, DWORD value);
int ReadRegStringValue(HKEY key, const char* name, std::string& out);
int WriteRegStringValue(HKEY key, const char* name, const char* text);
// ReadRegStringValue for a REG_SZ value only: a value of another type is
// not read (0, `out` empty).
int ReadRegSzValue(HKEY key, const char* name, std::string& out);

// A value as stored, type and bytes, read and written through the UTF-16
// functions: copied so, a text that the code page cannot hold stays intact.
struct RegRawValue {
    DWORD type = REG_NONE;
    std::unique_ptr<BYTE[]> data;
    DWORD size = 0;
};
int ReadRegRawValue(HKEY key, const char* name, RegRawValue& out);
int WriteRegRawValue(HKEY key, const char* name, const RegRawValue& value);

// The file name of windiff.exe as registered by Microsoft's own setup, if it
// names an existing file; `out` is left unchanged otherwise.
int FindWinDiffPath(std::string& out);
