// The ASCII tables of the regular-expression engine (see regex_tables.h).
#include "search/regex/regex_tables.h"

namespace korvane {

TRegExpTables AsciiRegExpTables() {
  TRegExpTables tables;
  for (int c = 0; c < 256; ++c) {
    const bool upper = c >= 'A' && c <= 'Z';
    const bool lower = c >= 'a' && c <= 'z';
    const bool digit = c >= '0' && c <= '9';
    const bool space = c == ' ' || (c >= '\t' && c <= '\r');
    const bool blank = c == ' ' || c == '\t';
    const bool cntrl = c < 32 || c == 127;
    const bool punct = c > 32 && c < 127 && !upper && !lower && !digit;
    const bool xdigit = digit || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    std::uint8_t type = 0;
    if (space) type |= kCtSpace;
    if (digit) type |= kCtDigit;
    if (upper) type |= kCtUpper;
    if (lower) type |= kCtLower;
    if (xdigit) type |= kCtXDigit;
    if (cntrl) type |= kCtCntrl;
    if (punct) type |= kCtPunct;
    if (blank) type |= kCtBlank;
    tables.CharType[c] = type;
    std::uint8_t syntax = 0;
    if (upper || lower || digit || c == '_') syntax |= kSyntaxWord;
    if (space) syntax |= kSyntaxSpace;
    if (digit) syntax |= kSyntaxDigit;
    tables.WordSyntax[c] = syntax;
    tables.Translate[c] = static_cast<std::uint8_t>(c);
  }
  return tables;
}

}  // namespace korvane
