// The regular-expression side of the scan: the engine's tables and the
// compilation of a term. The windowed scan over the corpus text is added
// with the regular-expression search; until then FindNextRegexMatch finds
// nothing.
#include "search/regex_scan.h"

#include "search/regex/reg_exp.h"
#include "search/search_context.h"

namespace korvane {

void TRegExpDeleter::operator()(TRegExp* regExp) const { delete regExp; }

std::shared_ptr<const TRegExpTables> MakeRegExpTables(const std::array<std::uint8_t, 256>& translate,
                                                      const std::array<std::uint8_t, 256>& wordSyntax,
                                                      const std::array<std::uint8_t, 256>& charTypes) {
  auto tables = std::make_shared<TRegExpTables>();
  tables->Translate = translate;
  tables->WordSyntax = wordSyntax;
  tables->CharType = charTypes;
  return tables;
}

TRegExpPtr CompileTermRegExp(const std::string& text, const TPatternRules& rules) {
  if (rules.RegExpTables) return TRegExpPtr(new TRegExp(text, *rules.RegExpTables));
  return TRegExpPtr(new TRegExp(text, AsciiRegExpTables()));
}

bool FindNextRegexMatch(TSearchContext&, TScanControl&) { return false; }

}  // namespace korvane
