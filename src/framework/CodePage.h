// Texts between UTF-16 and the ANSI code page, in which the program hands
// texts and paths to the system's ANSI functions.
//
// A character that the code page lacks does not survive the way there: the
// system puts a look-alike (é becomes e) or "?" in its place. A path so
// altered names another file or none, so paths are converted with
// ToAnsiExact, which refuses a text unless it comes back unchanged. Where the
// code page is UTF-8 every text survives.
//
// Text is drawn through the UTF-16 functions: the ANSI ones read the bytes in
// the code page of the font's character set, which is not the ANSI code page
// when that is UTF-8 (a Japanese font reads them as Shift-JIS).
#pragma once

#include <windows.h>

#include <string>

// As the system converts (look-alikes and "?" for what the code page lacks).
std::string ToAnsi(const std::wstring& text);
std::wstring ToWide(const std::string& text);
// The text in the ANSI code page; false (`out` unchanged) unless converting
// it back gives the same text.
bool ToAnsiExact(const std::wstring& text, std::string& out);
// The bytes read as a text of the ANSI code page; false (`out` unchanged)
// for bytes that are no text of it (an ill-formed UTF-8 sequence, a lead
// byte without its trail byte), which the system would read as another text.
bool ToWideExact(const char* bytes, size_t length, std::wstring& out);
// A window's text in UTF-16.
std::wstring GetWindowTextWide(HWND hwnd);
