// The language state: the one language the whole program works in, with
// the code page of its texts, the double-byte flag, the case and class
// tables of the code page, the character tables of the search and the
// collator. Searching, sorting, word lists and comparison fold case and
// compare words only through this object.
//
// One object lives in the program state. It changes only when the language
// is chosen or the configuration is read, and its character tables are
// rebuilt when the search settings they depend on change. A language that
// cannot be set up leaves everything as it was.
//
// Threads: the const members may be called from any thread as long as no
// thread changes the language or rebuilds the tables at the same time; the
// others belong to the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/char_tables.h"
#include "search/code_page.h"
#include "search/collation.h"
#include "search/concord_config.h"
#include "search/language_table.h"

namespace korvane {

class IniFile;

class LanguageState {
 public:
  // Starts with userDefault as the current language and the character
  // tables of config. Throws Exception when ICU cannot serve that language.
  explicit LanguageState(const ConcordConfig& config,
                         LanguageId userDefault = UserDefaultLanguage());
  LanguageState(const LanguageState&) = delete;
  LanguageState& operator=(const LanguageState&) = delete;

  LanguageId CurrentLanguage() const { return language_; }
  LanguageId UserDefault() const { return userDefault_; }
  std::uint32_t CodePage() const { return codePage_.CodePage; }
  bool DoubleByte() const { return doubleByte_; }

  // Makes id the current language: code page, double-byte flag, case
  // tables, collator and the character tables of config. Throws Exception
  // when ICU cannot serve the language; nothing changes then.
  void SetLanguage(LanguageId id, const ConcordConfig& config);
  // The language dialog's choice by name: when name is a language of the
  // table other than the current one, sets it and returns true (the caller
  // then closes every window and unloads the corpus); otherwise changes
  // nothing and returns false. Throws as SetLanguage.
  bool SelectLanguage(std::string_view name, const ConcordConfig& config);

  // Rebuilds the character type, word syntax and translate tables; needed
  // after NonWordChars, IgnoreCase, UseSkipEqualChars or the equal-character
  // groups changed.
  void RebuildCharTables(const ConcordConfig& config);
  // Rebuilds the translate table alone (IgnoreCase, UseSkipEqualChars or the
  // groups changed).
  void RebuildTranslateTable(const ConcordConfig& config);

  // --- The character tables of the search --------------------------------
  const ByteTable& CharTypes() const { return tables_.CharType; }
  const ByteTable& WordSyntax() const { return tables_.WordSyntax; }
  const ByteTable& TranslateTable() const { return tables_.Translate; }
  // The three together, as a regular expression is compiled with them.
  const TRegExpTables& RegExpTables() const { return tables_; }
  const CodePageTables& CodePageData() const { return codePage_; }

  // --- Case -----------------------------------------------------------------
  unsigned char LowerChar(unsigned char c) const { return codePage_.Lower[c]; }
  unsigned char UpperChar(unsigned char c) const { return codePage_.Upper[c]; }
  // The lower-case form of every byte. In a double-byte code page it must not
  // be applied to the trail byte of a double-byte character.
  const ByteTable& LowerTable() const { return codePage_.Lower; }
  // Lower-case form when the character type table marks c upper-case, else
  // upper-case form when it marks it lower-case, else 0 (none).
  unsigned char CaseCounterpart(unsigned char c) const {
    return korvane::CaseCounterpart(tables_.CharType, codePage_.Lower, codePage_.Upper, c);
  }
  // True for a letter that has a lower-case form of its own ("D", "Ä"), by
  // the code page's own classes whatever the delimiters are.
  bool IsUpperCaseLetter(unsigned char c) const {
    return (codePage_.Classes[c] & kCtLetter) == kCtUpper;
  }
  // Lower-cases length bytes at text in place. In a double-byte code page
  // the bytes of double-byte characters are left alone.
  void LowerCaseInPlace(char* text, std::size_t length) const;
  void LowerCaseInPlace(std::string& text) const { LowerCaseInPlace(text.data(), text.size()); }
  std::string LowerCaseCopy(std::string_view text) const;

  // --- Comparison -----------------------------------------------------------
  // -1, 0 or 1 as a sorts before, equal to or after b in the language's
  // order, with or without regard to case.
  int CompareStr(std::string_view a, std::string_view b, bool ignoreCase) const;
  // A key whose comparison gives the same result as CompareStr with the
  // same ignoreCase. Valid until the language changes.
  CollationKey SortKey(std::string_view text, bool ignoreCase) const;

  // --- Double-byte characters ----------------------------------------------
  bool IsLeadByte(unsigned char c) const { return codePage_.LeadByte[c]; }
  // True when the character at pos is double-byte: a lead byte followed by
  // a byte that is not 0. False at or past the end.
  bool IsDoubleByteLead(std::string_view text, std::size_t pos) const {
    return pos + 1 < text.size() && codePage_.LeadByte[static_cast<unsigned char>(text[pos])] &&
           text[pos + 1] != '\0';
  }

  // The text in UTF-16 (for display and output).
  std::u16string ToUnicode(std::string_view text) const;

  // --- Configuration --------------------------------------------------------
  // Reads "Language" of "GeneralConfiguration" (default: the user's default
  // language); an identifier other than the user's default that is not in
  // the language table gives the user's default. Then sets the language
  // with the tables of config. Throws Exception when ICU cannot serve it.
  void Read(const IniFile& ini, const ConcordConfig& config);
  void Write(IniFile& ini) const;

 private:
  LanguageId userDefault_;
  LanguageId language_ = 0;
  bool doubleByte_ = false;
  CodePageTables codePage_;
  Collator collator_;
  TRegExpTables tables_;
};

}  // namespace korvane
