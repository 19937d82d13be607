// What the program needs to know about one Windows code page, taken from ICU
// once when a language is chosen: the Unicode character of each byte, the
// class bits of that character, the lower- and upper-case byte of each byte,
// and, for the East Asian code pages, which bytes lead a double-byte
// character together with the characters of every lead/trail pair. After
// that, case mapping, classification and conversion to UTF-16 are table
// lookups.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/char_tables.h"

namespace korvane {

struct CodePageTables {
  std::uint32_t CodePage = 0;
  // The character of each byte standing alone; U+FFFD for a lead byte and a
  // byte the code page leaves undefined.
  std::array<char16_t, 256> Unicode{};
  // Class bits of each byte's character: the Unicode properties space,
  // digit, uppercase, lowercase, hexadecimal digit, control, blank, and
  // punctuation for any other visible character that is not a letter. A
  // letter without case (Thai, kana) and a lead byte count as letters
  // (kCtLetter), so that such scripts have word characters.
  ByteTable Classes{};
  // The lower- and upper-case form of each byte; the byte itself when its
  // counterpart is not a single byte of the code page. Bytes of double-byte
  // characters never change.
  ByteTable Lower{};
  ByteTable Upper{};
  // Bytes that begin a double-byte character (East Asian code pages only).
  std::array<bool, 256> LeadByte{};
  // The character of each lead/trail pair, indexed lead * 256 + trail;
  // U+FFFD for an undefined pair. Empty for single-byte code pages.
  std::vector<char16_t> DoubleByteUnicode;

  bool HasLeadBytes() const { return !DoubleByteUnicode.empty(); }

  // Appends the UTF-16 form of bytes to out. A lead byte takes the next byte
  // as its trail; a lead byte at the end becomes U+FFFD.
  void AppendUnicode(std::string_view bytes, std::u16string& out) const;
  // The same into a buffer of at least bytes.size() units; returns the
  // number of units written.
  std::size_t ToUnicode(std::string_view bytes, char16_t* out) const;
};

// Builds the tables of a code page through its ICU converter. Throws
// Exception when ICU has no converter for it.
CodePageTables BuildCodePageTables(std::uint32_t codePage);

}  // namespace korvane
