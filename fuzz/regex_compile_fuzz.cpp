// Fuzz target of the regular-expression engine: any bytes as a pattern must
// either compile or raise ERegExp, never crash or hang, and a compiled
// pattern must search a short text (built from the input's tail) the same
// way with a full and with a tiny DFA cache. Input: pattern, a zero byte,
// text; without a zero byte the text is the pattern itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "search/regex/reg_exp.h"

namespace {

// Patterns longer than this only slow the fuzzer down.
constexpr std::size_t kMaxPatternLength = 512;
// A cache too small for two states: every step empties it.
constexpr std::size_t kTinyDfaCache = 1;
// Fewer back-reference steps than in the program, to keep runs fast; the
// budget's end is an ERegExp like any other.
constexpr std::uint64_t kFuzzBackRefSteps = 200'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);
  if (pattern.size() > kMaxPatternLength) return 0;
  const TRegExpTables tables = AsciiRegExpTables();
  try {
    TRegExp regExp(pattern, tables, TRegExpLimits{TRegExpLimits().DfaCacheBytes, kFuzzBackRefSteps});
    TRegExp small(pattern, tables, TRegExpLimits{kTinyDfaCache, kFuzzBackRefSteps});
    for (std::int32_t start = 0; start <= static_cast<std::int32_t>(text.size()); start += 7) {
      const TRegExpMatch a = regExp.Search(text, start);
      const TRegExpMatch b = small.Search(text, start);
      if (a.Found != b.Found || (a.Found && (a.Start != b.Start || a.End != b.End))) std::abort();
      if (a.Found && (a.Start < start || a.End <= a.Start || a.End > static_cast<std::int32_t>(text.size())))
        std::abort();
    }
  } catch (const ERegExp&) {
    // A pattern that does not compile, or a search past its step budget.
  }
  return 0;
}
