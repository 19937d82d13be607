// The language table and what follows from an identifier: name, code page,
// double-byte flag, ICU locale; the user's default language; the languages
// ICU can serve. The code pages are those Windows gives each language as its
// ANSI code page, keyed by the primary language (the low ten bits of the
// identifier), with the exceptions where the sublanguage decides.
#include "search/language_table.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/errors.h"

namespace korvane {

const std::array<TLangMap, 84> kLanguageTable = {{
    {0x0402, "Bulgarian"},
    {0x0403, "Catalan"},
    {0x0404, "Chinese (Taiwan)"},
    {0x0804, "Chinese (PRC)"},
    {0x0C04, "Chinese (Hong Kong)"},
    {0x1004, "Chinese (Singapore)"},
    {0x0405, "Czech"},
    {0x0406, "Danish"},
    {0x0407, "German (Standard)"},
    {0x0807, "German (Swiss)"},
    {0x0C07, "German (Austrian)"},
    {0x1007, "German (Luxembourg)"},
    {0x1407, "German (Liechtenstein)"},
    {0x0408, "Greek"},
    {0x0409, "English (United States)"},
    {0x0809, "English (United Kingdom)"},
    {0x0C09, "English (Australian)"},
    {0x1009, "English (Canadian)"},
    {0x1409, "English (New Zealand)"},
    {0x1809, "English (Ireland)"},
    {0x1C09, "English (South Africa)"},
    {0x2009, "English (Jamaica)"},
    {0x2409, "English (Caribbean)"},
    {0x2809, "English (Belize)"},
    {0x2C09, "English (Trinidad)"},
    {0x040A, "Spanish (Traditional Sort)"},
    {0x080A, "Spanish (Mexican)"},
    {0x0C0A, "Spanish (Modern Sort)"},
    {0x100A, "Spanish (Guatemala)"},
    {0x140A, "Spanish (Costa Rica)"},
    {0x180A, "Spanish (Panama)"},
    {0x1C0A, "Spanish (Dominican Republic)"},
    {0x200A, "Spanish (Venezuela)"},
    {0x240A, "Spanish (Colombia)"},
    {0x280A, "Spanish (Peru)"},
    {0x2C0A, "Spanish (Argentina)"},
    {0x300A, "Spanish (Ecuador)"},
    {0x340A, "Spanish (Chile)"},
    {0x380A, "Spanish (Uruguay)"},
    {0x3C0A, "Spanish (Paraguay)"},
    {0x400A, "Spanish (Bolivia)"},
    {0x440A, "Spanish (El Salvador)"},
    {0x480A, "Spanish (Honduras)"},
    {0x4C0A, "Spanish (Nicaragua)"},
    {0x500A, "Spanish (Puerto Rico)"},
    {0x040B, "Finnish"},
    {0x040C, "French (Standard)"},
    {0x080C, "French (Belgian)"},
    {0x0C0C, "French (Canadian)"},
    {0x100C, "French (Swiss)"},
    {0x140C, "French (Luxembourg)"},
    {0x040E, "Hungarian"},
    {0x040F, "Icelandic"},
    {0x0410, "Italian (Standard)"},
    {0x0810, "Italian (Swiss)"},
    {0x0411, "Japanese"},
    {0x0412, "Korean"},
    {0x0812, "Korean (JoHab)"},
    {0x0413, "Dutch (Standard)"},
    {0x0813, "Dutch (Belgian)"},
    {0x0414, "Norwegian (Bokmal)"},
    {0x0814, "Norwegian (Nynorsk)"},
    {0x0415, "Polish"},
    {0x0416, "Portuguese (Brazilian)"},
    {0x0816, "Portuguese (Standard)"},
    {0x0418, "Romanian"},
    {0x0419, "Russian"},
    {0x041A, "Croatian"},
    {0x0C1A, "Serbian"},
    {0x041B, "Slovak"},
    {0x041C, "Albanian"},
    {0x041D, "Swedish"},
    {0x081D, "Swedish (Finland)"},
    {0x041E, "Thai"},
    {0x041F, "Turkish"},
    {0x0421, "Indonesian"},
    {0x0422, "Ukrainian"},
    {0x0423, "Belarusian"},
    {0x0424, "Slovenian"},
    {0x0425, "Estonian"},
    {0x0426, "Latvian"},
    {0x0427, "Lithuanian"},
    {0x081A, "Serbian"},
    {0x042D, "Basque"},
}};

namespace {

const TLangMap* FindLanguage(LanguageId id) {
  for (const TLangMap& entry : kLanguageTable)
    if (entry.Id == id) return &entry;
  return nullptr;
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
struct CollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};

// "de_DE.UTF-8@euro" -> "de_DE"; the code set and modifier do not name a
// language.
std::string LocaleWithoutCodeSet(std::string value) {
  value = value.substr(0, value.find_first_of(".@"));
  return value;
}

// The language and script of a locale after filling in the likely subtags
// ("sr_RS" -> "sr_Cyrl"); empty when ICU cannot tell.
std::string LanguageAndScript(const std::string& locale) {
  char full[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_addLikelySubtags(locale.c_str(), full, sizeof full, &status);
  if (U_FAILURE(status)) return {};
  char language[ULOC_LANG_CAPACITY] = {};
  char script[ULOC_SCRIPT_CAPACITY] = {};
  uloc_getLanguage(full, language, sizeof language, &status);
  uloc_getScript(full, script, sizeof script, &status);
  if (U_FAILURE(status) || language[0] == 0) return {};
  return std::string(language) + "_" + script;
}

}  // namespace

std::string LanguageName(LanguageId id) {
  const TLangMap* entry = FindLanguage(id);
  return entry ? entry->Name : std::string();
}

LanguageId LanguageIdOfName(std::string_view name) {
  for (const TLangMap& entry : kLanguageTable)
    if (name == entry.Name) return entry.Id;
  return 0;
}

bool IsDoubleByteLanguage(LanguageId id) {
  switch (id) {
    case 0x0404: case 0x0804: case 0x0C04: case 0x1004:  // Chinese
    case 0x0411:                                         // Japanese
    case 0x0412: case 0x0812:                            // Korean
    case 0x041E:                                         // Thai
      return true;
    default:
      return false;
  }
}

std::uint32_t CodePageOfLanguage(LanguageId id) {
  if (!FindLanguage(id)) return 1252;
  switch (id) {
    case 0x0404: case 0x0C04: return 950;  // Chinese, traditional script
    case 0x0804: case 0x1004: return 936;  // Chinese, simplified script
    case 0x0C1A: return 1251;              // Serbian in Cyrillic
    default: break;
  }
  switch (id & 0x3FF) {
    case 0x02: case 0x19: case 0x22: case 0x23:  // Bulgarian, Russian, Ukrainian, Belarusian
      return 1251;
    case 0x05: case 0x0E: case 0x15: case 0x18:  // Czech, Hungarian, Polish, Romanian
    case 0x1A: case 0x1B: case 0x1C: case 0x24:  // Croatian, Serbian (Latin), Slovak, Albanian,
      return 1250;                               // Slovenian
    case 0x08: return 1253;                      // Greek
    case 0x1F: return 1254;                      // Turkish
    case 0x25: case 0x26: case 0x27: return 1257;  // Estonian, Latvian, Lithuanian
    case 0x1E: return 874;                       // Thai
    case 0x11: return 932;                       // Japanese
    // Korean; JoHab texts are read as the Unified Hangul code page too,
    // because ICU has no JoHab converter.
    case 0x12: return 949;
    default: return 1252;
  }
}

std::uint32_t CodePageOfCharset(int charset, std::uint32_t currentCodePage) {
  switch (charset) {
    case 0: return 1252;
    case 204: return 1251;
    case 238: return 1250;
    case 161: return 1253;
    case 162: return 1254;
    case 186: return 1257;
    default: return currentCodePage;
  }
}

std::string ConverterNameOfCodePage(std::uint32_t codePage) {
  return "windows-" + std::to_string(codePage);
}

std::string LocaleOfLanguage(LanguageId id) {
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = uloc_getLocaleForLCID(id, locale, sizeof locale, &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<int32_t>(sizeof locale))
    throw Exception("No locale is known for the language " + LanguageName(id) + ".");
  return locale;
}

LanguageId UserDefaultLanguage(const char* lcAll, const char* lang) {
  const char* value = (lcAll && *lcAll) ? lcAll : lang;
  if (!value || !*value) return kEnglishUnitedStates;
  std::string locale = LocaleWithoutCodeSet(value);
  if (locale.empty() || locale == "C" || locale == "POSIX") return kEnglishUnitedStates;

  LanguageId exact = uloc_getLCID(locale.c_str()) & 0xFFFF;
  if (exact != 0 && FindLanguage(exact)) return exact;

  std::string wanted = LanguageAndScript(locale);
  if (wanted.empty()) return kEnglishUnitedStates;
  for (const TLangMap& entry : kLanguageTable) {
    char tableLocale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(entry.Id, tableLocale, sizeof tableLocale, &status);
    if (U_SUCCESS(status) && LanguageAndScript(tableLocale) == wanted) return entry.Id;
  }
  return kEnglishUnitedStates;
}

LanguageId UserDefaultLanguage() {
  return UserDefaultLanguage(std::getenv("LC_ALL"), std::getenv("LANG"));
}

bool IsLanguageInstalled(LanguageId id) {
  if (!FindLanguage(id)) return false;
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLocaleForLCID(id, locale, sizeof locale, &status);
  if (U_FAILURE(status)) return false;
  std::unique_ptr<UCollator, CollatorCloser> collator(ucol_open(locale, &status));
  if (U_FAILURE(status)) return false;
  std::unique_ptr<UConverter, ConverterCloser> converter(
      ucnv_open(ConverterNameOfCodePage(CodePageOfLanguage(id)).c_str(), &status));
  return U_SUCCESS(status);
}

std::vector<std::string> InstalledLanguages() {
  std::vector<std::string> names;
  for (const TLangMap& entry : kLanguageTable) {
    if (std::find(names.begin(), names.end(), entry.Name) != names.end()) continue;
    if (IsLanguageInstalled(entry.Id)) names.emplace_back(entry.Name);
  }
  return names;
}

}  // namespace korvane
