// The three language tables that the regular-expression engine takes as
// inputs. The engine knows nothing about languages or code pages: what a
// word character is, what the bracket classes mean and which bytes compare
// equal all come from these tables, which the language services compute for
// the current language and hand over when a pattern is compiled.
#pragma once

#include <array>
#include <cstdint>

namespace korvane {

// Class bits of the character type table. A byte may carry several. The
// twelve bracket classes are read from them:
//   alpha  upper or lower          alnum  digit, upper or lower
//   upper  upper                   lower  lower
//   digit  digit                   xdigit hexadecimal digit
//   space  space                   blank  blank
//   cntrl  control                 punct  punctuation
//   print  any bit other than control
//   graph  any bit other than control, and not space
inline constexpr std::uint8_t kCtSpace = 1;
inline constexpr std::uint8_t kCtDigit = 2;
inline constexpr std::uint8_t kCtUpper = 4;
inline constexpr std::uint8_t kCtLower = 8;
inline constexpr std::uint8_t kCtXDigit = 16;
inline constexpr std::uint8_t kCtCntrl = 32;
inline constexpr std::uint8_t kCtPunct = 64;
inline constexpr std::uint8_t kCtBlank = 128;

// Bits of the word syntax table. Bit kSyntaxWord decides what \w, \W, \b,
// \B, \< and \> take as a word character; bit kSyntaxSpace what \s and \S
// take as white space. kSyntaxDigit is carried along but not used here.
inline constexpr std::uint8_t kSyntaxWord = 1;
inline constexpr std::uint8_t kSyntaxSpace = 2;
inline constexpr std::uint8_t kSyntaxDigit = 4;

struct TRegExpTables {
  // Each byte of pattern and text is compared as Translate[byte]: this is
  // how case folding and equal characters reach the engine.
  std::array<std::uint8_t, 256> Translate{};
  // Per byte, the kSyntax... bits.
  std::array<std::uint8_t, 256> WordSyntax{};
  // Per byte, the kCt... class bits.
  std::array<std::uint8_t, 256> CharType{};
};

// Tables of the plain ASCII "C" locale: identity translation, ASCII letters,
// digits and the underscore as word characters, the C library's ASCII
// classification, nothing above 127. For tests, tools and benchmarks.
TRegExpTables AsciiRegExpTables();

}  // namespace korvane
