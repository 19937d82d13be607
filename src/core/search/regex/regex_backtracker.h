// The bounded backtracking matcher of the regular-expression engine, used
// only for patterns with back-references, which no finite automaton can
// match. From one start position it walks every path through the program
// (recording group bounds for the back-references) and keeps the longest
// match, as leftmost-longest matching requires. Such a walk can take
// exponential time, so it counts its steps and gives up with
// "Internal regexp error." once they pass the caller's budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "search/regex/regex_program.h"

namespace korvane {

class TRegexBacktracker {
 public:
  // program must be of kind pkBacktrack and must outlive the matcher.
  explicit TRegexBacktracker(const TRegexProgram& program);

  // The end of the longest non-empty match that starts exactly at start, or
  // -1. Adds the steps taken to `steps`; throws ERegExp(reInternal) when
  // they pass `budget`. Bytes before start are context for conditions only.
  std::ptrdiff_t LongestMatchAt(std::string_view text, std::size_t start, std::uint64_t& steps,
                                std::uint64_t budget);

 private:
  // A pending path (Pc >= 0, resume at Value) or a register to restore on
  // the way back (Pc = -1 - register, old Value).
  struct TFrame {
    std::int32_t Pc;
    std::int64_t Value;
  };

  const TRegexProgram& program_;
  std::vector<std::int64_t> registers_;
  std::vector<TFrame> stack_;
};

}  // namespace korvane
