// The languages the program offers: each is a Windows language identifier
// with an English name, and from the identifier follow the ANSI code page of
// its texts, the ICU locale of its collation and whether its code page uses
// double-byte characters. Settings files store the identifier, so the
// numbers must stay as they are.
//
// Also here: the user's default language, derived from the locale of the
// environment, and the languages this machine's ICU can serve.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A Windows language identifier (16 bits used).
using LanguageId = std::uint32_t;

struct TLangMap {
  std::uint16_t Id;
  const char* Name;
};

inline constexpr LanguageId kEnglishUnitedStates = 0x0409;

// The 84 languages in their fixed order. "Serbian" occurs twice (0x0C1A
// Cyrillic, 0x081A Latin); a lookup by name finds the first.
extern const std::array<TLangMap, 84> kLanguageTable;

// The language's name; empty when the identifier is not in the table.
std::string LanguageName(LanguageId id);
// The identifier of the first language with this exact name; 0 when none.
LanguageId LanguageIdOfName(std::string_view name);

// True for the Chinese, Japanese, Korean and Thai languages, whose texts the
// program treats as double-byte.
bool IsDoubleByteLanguage(LanguageId id);

// The Windows ANSI code page of a language's texts (1250 Central European,
// 1251 Cyrillic, 1252 Western, 1253 Greek, 1254 Turkish, 1257 Baltic, 874
// Thai, 932 Japanese, 936 and 950 Chinese, 949 Korean). An identifier that
// is not in the table gives 1252.
std::uint32_t CodePageOfLanguage(LanguageId id);

// The code page of text written in a font of a character set: 0 (ANSI)
// 1252, 204 (Russian) 1251, 238 (Eastern Europe) 1250, 161 (Greek) 1253,
// 162 (Turkish) 1254, 186 (Baltic) 1257; any other set gives
// currentCodePage.
std::uint32_t CodePageOfCharset(int charset, std::uint32_t currentCodePage);

// The ICU converter name of a Windows code page ("windows-1252", ...).
std::string ConverterNameOfCodePage(std::uint32_t codePage);

// The ICU locale of a language ("de_DE", "es_ES@collation=traditional",
// ...). Throws Exception when ICU knows no locale for it.
std::string LocaleOfLanguage(LanguageId id);

// The user's default language from the locale variables: LC_ALL when set
// and not empty, else LANG. "de_DE.UTF-8" gives German (Standard); a locale
// whose exact identifier is not in the table gives the first language of the
// table with the same language and script ("de_BE" German (Standard),
// "sr_RS" Serbian in Cyrillic); anything else, "C" and "POSIX" included,
// gives English (United States).
LanguageId UserDefaultLanguage(const char* lcAll, const char* lang);
// The same from this process's environment.
LanguageId UserDefaultLanguage();

// The names of the table's languages that this machine's ICU can serve (a
// locale, a collator and a converter for the code page), in table order,
// each name once.
std::vector<std::string> InstalledLanguages();

// True when ICU can serve the language (see InstalledLanguages).
bool IsLanguageInstalled(LanguageId id);

}  // namespace korvane
