#include "settings/TextCompare.h"

#include "framework/CodePage.h"

namespace {

// The text in UTF-16, upper-cased through the system's case mapping. Fails
// for bytes that are not a valid text in the ANSI code page.
bool ToUpperWide(const std::string& text, std::wstring& out)
{
    if (!ToWideExact(text.data(), text.size(), out)) return false;
    if (!out.empty()) ::CharUpperBuffW(&out[0], static_cast<DWORD>(out.size()));
    return true;
}

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// For texts that are not valid in the code page: character by character,
// a double-byte character compared as it is, ASCII letters without case.
bool EqualsBytewise(const std::string& a, const std::string& b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool leadA = ::IsDBCSLeadByte(static_cast<BYTE>(a[i])) && i + 1 < a.size();
        const bool leadB = ::IsDBCSLeadByte(static_cast<BYTE>(b[j])) && j + 1 < b.size();
        if (leadA != leadB) return false;
        if (leadA) {
            if (a[i] != b[j] || a[i + 1] != b[j + 1]) return false;
            i += 2;
            j += 2;
        } else {
            if (FoldAscii(a[i]) != FoldAscii(b[j])) return false;
            ++i;
            ++j;
        }
    }
    return i == a.size() && j == b.size();
}

} // namespace

CaseFoldedText::CaseFoldedText(const std::string& text) : m_text(text)
{
    m_converted = ToUpperWide(text, m_upper);
}

bool CaseFoldedText::Equals(const CaseFoldedText& other) const
{
    if (m_converted && other.m_converted) return m_upper == other.m_upper;
    if (m_converted != other.m_converted) return false;
    return EqualsBytewise(m_text, other.m_text);
}

BOOL IsSameTextNoCase(const std::string& a, const std::string& b)
{
    return CaseFoldedText(a).Equals(CaseFoldedText(b)) ? TRUE : FALSE;
}
