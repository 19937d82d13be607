// Derivation of the character type, word syntax and translate tables from
// the code page's classes and the search settings.
#include "search/char_tables.h"

namespace korvane {

ByteTable AdjustCharTypes(const ByteTable& codePageClasses, std::string_view nonWordChars) {
  ByteTable types = codePageClasses;
  for (std::uint8_t& bits : types)
    if (bits & kCtPunct) bits = kCtLetter;
  for (char c : nonWordChars) types[static_cast<unsigned char>(c)] = kCtPunct;
  return types;
}

ByteTable BuildWordSyntax(const ByteTable& charTypes) {
  ByteTable syntax{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t bits = charTypes[c];
    std::uint8_t s = 0;
    if ((bits & (kCtDigit | kCtUpper | kCtLower)) || c == '_') s |= kSyntaxWord;
    if (bits & (kCtSpace | kCtBlank)) s |= kSyntaxSpace;
    if (bits & kCtDigit) s |= kSyntaxDigit;
    syntax[c] = s;
  }
  return syntax;
}

ByteTable BuildTranslateTable(const ByteTable& charTypes, const ByteTable& lower,
                              const ByteTable& upper, const ConcordConfig& config) {
  ByteTable translate{};
  for (int c = 0; c < 256; ++c) translate[c] = static_cast<std::uint8_t>(c);
  if (config.IgnoreCase)
    for (int c = 0; c < 256; ++c)
      if (charTypes[c] & kCtUpper) translate[c] = lower[c];
  if (!config.UseSkipEqualChars) return translate;

  for (const CharSet& group : config.EqualCharSets) {
    int lowest = -1;
    for (int c = 0; c < 256 && lowest < 0; ++c)
      if (group.test(c)) lowest = c;
    if (lowest < 0) continue;
    std::uint8_t representative =
        config.IgnoreCase ? lower[lowest] : static_cast<std::uint8_t>(lowest);
    for (int c = 0; c < 256; ++c) {
      if (!group.test(c)) continue;
      translate[c] = representative;
      if (!config.IgnoreCase) continue;
      // A byte without a case counterpart (0) must not take the mapping.
      unsigned char counterpart = CaseCounterpart(charTypes, lower, upper, static_cast<unsigned char>(c));
      if (counterpart != 0) translate[counterpart] = representative;
    }
  }
  return translate;
}

}  // namespace korvane
