// Case-insensitive equality of texts in the active ANSI code page, one whole
// character at a time: a double-byte character is never split, so a trail
// byte that happens to look like an ASCII letter or a backslash is not
// compared on its own.
#pragma once

#include <windows.h>

#include <string>

// A text prepared once for many comparisons (the case mapping is done when
// it is constructed).
class CaseFoldedText {
public:
    explicit CaseFoldedText(const std::string& text);
    bool Equals(const CaseFoldedText& other) const;

private:
    std::string m_text;     // the bytes as given
    bool m_converted;       // m_upper holds the text, upper-cased
    std::wstring m_upper;
};

// TRUE when both texts are equal apart from letter case.
BOOL IsSameTextNoCase(const std::string& a, const std::string& b);
