#include "framework/Language.h"

#include "framework/CodePage.h"
#include "framework/WinApp.h"

#include <algorithm>

namespace {

constexpr LANGID kLangNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// String `index` (0 to 15) of a string-table block: the block holds sixteen
// strings, each a count of UTF-16 units followed by that many units. Empty
// when the block is missing or too short for what it claims.
std::wstring StringInBlock(HMODULE module, HRSRC block, UINT index)
{
    if (!block) return std::wstring();
    HGLOBAL loaded = ::LoadResource(module, block);
    const auto* units = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
    const size_t size = ::SizeofResource(module, block) / sizeof(WCHAR);
    if (!units) return std::wstring();
    size_t pos = 0;
    for (UINT i = 0; i < index; ++i) {
        if (pos >= size) return std::wstring();
        pos += 1 + units[pos];
    }
    if (pos >= size || units[pos] > size - pos - 1) return std::wstring();
    return std::wstring(units + pos + 1, units[pos]);
}

} // namespace

LANGID ChooseTextLanguage(UINT ansiCodePage, LANGID uiLanguage)
{
    const bool japanese =
        ansiCodePage == 932 || (ansiCodePage == CP_UTF8 && PRIMARYLANGID(uiLanguage) == LANG_JAPANESE);
    return japanese ? kLangJapanese : kLangEnglish;
}

LANGID AfxGetTextLanguage()
{
    static const LANGID language = ChooseTextLanguage(::GetACP(), ::GetUserDefaultUILanguage());
    return language;
}

BYTE AfxGetTextCharSet()
{
    return AfxGetTextLanguage() == kLangJapanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
}

HRSRC AfxFindTextResource(LPCSTR name, LPCSTR type)
{
    HMODULE module = AfxGetResourceHandle();
    if (HRSRC res = ::FindResourceExA(module, type, name, AfxGetTextLanguage())) return res;
    return ::FindResourceA(module, name, type);
}

HMENU AfxLoadMenu(UINT id)
{
    HRSRC res = AfxFindTextResource(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(4) /* RT_MENU */);
    HGLOBAL loaded = res ? ::LoadResource(AfxGetResourceHandle(), res) : nullptr;
    const void* menu = loaded ? ::LockResource(loaded) : nullptr;
    return menu ? ::LoadMenuIndirectA(menu) : nullptr;
}

std::wstring AfxLoadStringW(UINT id)
{
    HMODULE module = AfxGetResourceHandle();
    const LPCWSTR block = MAKEINTRESOURCEW(id / 16 + 1);
    for (LANGID language : {AfxGetTextLanguage(), kLangNeutral}) {
        std::wstring text = StringInBlock(module, ::FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, block, language), id % 16);
        if (!text.empty()) return text;
    }
    return std::wstring();
}

std::string AfxLoadFilter(UINT id)
{
    // Split before the conversion: in the ANSI bytes a "|" may be the second
    // byte of a double-byte character.
    std::wstring filter = AfxLoadStringW(id);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return ToAnsi(filter);
}
