// The language-dependent character tables of the search: for each of the
// 256 byte values its class bits, its word syntax and the byte it is
// compared as. The regular-expression engine takes them as inputs (word
// boundaries, bracket classes, case folding and equal characters); the
// matcher asks them for case counterparts.
//
// They are derived in three steps from the code page's own classes and case
// tables (see code_page.h) and the search settings: the configured word
// delimiters override the classes, the word syntax follows from the
// classes, and the translate table folds case and equal-character groups.
// Every function here is a pure computation over 256-entry tables.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "search/concord_config.h"
#include "search/regex/regex_tables.h"

namespace korvane {

using ByteTable = std::array<std::uint8_t, 256>;

// The class bits (kCtSpace 1, kCtDigit 2, kCtUpper 4, kCtLower 8,
// kCtXDigit 16, kCtCntrl 32, kCtPunct 64, kCtBlank 128) and the word syntax
// bits (kSyntaxWord 1, kSyntaxSpace 2, kSyntaxDigit 4) are the engine's, and
// the three tables travel in its TRegExpTables, so that a compiled pattern
// takes them as they are.
//
// Both case bits: how the tables mark a character that counts as a letter
// without having a case of its own.
inline constexpr std::uint8_t kCtLetter = kCtUpper | kCtLower;

// The character types after the configured delimiters: a byte of
// nonWordChars becomes punctuation only, whatever it was; any other byte with
// the punctuation bit becomes a letter, so that punctuation which is not a
// delimiter belongs to words.
ByteTable AdjustCharTypes(const ByteTable& codePageClasses, std::string_view nonWordChars);

// Per byte: kSyntaxWord for a digit, an upper- or lower-case letter and the
// underscore; kSyntaxSpace for space and blank; kSyntaxDigit for a digit.
ByteTable BuildWordSyntax(const ByteTable& charTypes);

// The case counterpart of c: its lower-case form when charTypes marks it
// upper-case, else its upper-case form when it is marked lower-case, else 0
// (none).
inline unsigned char CaseCounterpart(const ByteTable& charTypes, const ByteTable& lower,
                                     const ByteTable& upper, unsigned char c) {
  if (charTypes[c] & kCtUpper) return lower[c];
  if (charTypes[c] & kCtLower) return upper[c];
  return 0;
}

// The translate table. Without IgnoreCase and UseSkipEqualChars every byte
// stands for itself. With IgnoreCase an upper-case byte maps to its
// lower-case form. With UseSkipEqualChars every member of an equal-character
// group, and under IgnoreCase its case counterpart too, maps to the group's
// representative: its member with the lowest code, lower-cased under
// IgnoreCase. A byte in several groups keeps the mapping of the last one.
ByteTable BuildTranslateTable(const ByteTable& charTypes, const ByteTable& lower,
                              const ByteTable& upper, const ConcordConfig& config);

}  // namespace korvane
