// TRegExp (see reg_exp.h): compiles the three programs and chains the
// forward DFA, the reverse DFA and, for back-references, the backtracker.
#include "search/regex/reg_exp.h"

#include "search/regex/regex_backtracker.h"
#include "search/regex/regex_dfa.h"
#include "search/regex/regex_program.h"

namespace korvane {

TRegExp::TRegExp(std::string_view pattern, const TRegExpTables& tables, const TRegExpLimits& limits)
    : backRefSteps_(limits.BackRefSteps) {
  const TRegexTree tree = ParseRegex(pattern, tables);
  forward_ = std::make_unique<TRegexProgram>(CompileRegex(tree, tables, TRegexProgramKind::pkForward));
  reverse_ = std::make_unique<TRegexProgram>(CompileRegex(tree, tables, TRegexProgramKind::pkReverse));
  forwardDfa_ = std::make_unique<TRegexDfa>(*forward_, TRegexDfa::TDirection::drForward, limits.DfaCacheBytes);
  reverseDfa_ = std::make_unique<TRegexDfa>(*reverse_, TRegexDfa::TDirection::drReverse, limits.DfaCacheBytes);
  if (tree.HasBackRefs) {
    backtrack_ = std::make_unique<TRegexProgram>(CompileRegex(tree, tables, TRegexProgramKind::pkBacktrack));
    backtracker_ = std::make_unique<TRegexBacktracker>(*backtrack_);
  }
  fastmap_ = RegexFirstBytes(backtrack_ ? *backtrack_ : *forward_);
  if (!fastmap_.all()) {
    skip_ = std::make_unique<TRegexSkip>();
    for (int c = 0; c < 256; ++c) {
      if (!fastmap_[c]) continue;
      skip_->Table[c] = 1;
      skip_->Single = static_cast<std::uint8_t>(c);
      ++skip_->Count;
    }
  }
}

TRegExp::~TRegExp() = default;
TRegExp::TRegExp(TRegExp&&) noexcept = default;
TRegExp& TRegExp::operator=(TRegExp&&) noexcept = default;

TRegExpMatch TRegExp::Search(std::string_view text, std::int32_t start) {
  TRegExpMatch result;
  const std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
  if (from >= text.size()) return result;
  const std::ptrdiff_t end = forwardDfa_->FindMatchEnd(text, from, skip_.get());
  if (end < 0) return result;
  const std::ptrdiff_t first = reverseDfa_->FindMatchStart(text, from, static_cast<std::size_t>(end));
  if (first < 0) throw ERegExp(TRegExpError::reInternal);  // the two DFAs disagree
  if (!backtracker_) {
    result = {true, static_cast<std::int32_t>(first), static_cast<std::int32_t>(end)};
    return result;
  }
  // With back-references the DFA read each as "any text": no real match
  // starts before its leftmost one.
  std::uint64_t steps = 0;
  for (std::size_t s = static_cast<std::size_t>(first); s < text.size(); ++s) {
    if (!fastmap_[static_cast<std::uint8_t>(text[s])]) continue;
    const std::ptrdiff_t e = backtracker_->LongestMatchAt(text, s, steps, backRefSteps_);
    if (e >= 0) return {true, static_cast<std::int32_t>(s), static_cast<std::int32_t>(e)};
  }
  return result;
}

}  // namespace korvane
