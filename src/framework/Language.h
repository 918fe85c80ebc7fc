// The language of the program's texts and the resources that hold them.
//
// Every text the user sees lives in the resources, once in Japanese and once
// in English (texts that are the same in both, such as the program's name,
// once without a language). Which of the two the program shows is decided
// once, at start, from the system: Japanese where the ANSI code page is
// Shift-JIS (932), or UTF-8 with a Japanese user-interface language; English
// everywhere else, where Japanese texts could not pass the ANSI functions.
#pragma once

#include <windows.h>

#include <string>

constexpr LANGID kLangJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr LANGID kLangEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The language rule, for an ANSI code page and a user-interface language.
LANGID ChooseTextLanguage(UINT ansiCodePage, LANGID uiLanguage);
// The language of this run (the rule applied to this system, decided once).
LANGID AfxGetTextLanguage();
// The character set of fonts that show texts and paths of this language.
BYTE AfxGetTextCharSet();

// A resource in the language of this run; any language where it has none.
HRSRC AfxFindTextResource(LPCSTR name, LPCSTR type);
// A menu resource in the language of this run, loaded; the caller destroys it.
HMENU AfxLoadMenu(UINT id);
// A string of the string table in the language of this run (the language-
// neutral one when that has none); empty when the id has no string.
std::wstring AfxLoadStringW(UINT id);
// A file dialog's filter from a string whose parts "|" separates, in ANSI
// bytes: the parts end with NULs, and the string with two.
std::string AfxLoadFilter(UINT id);
