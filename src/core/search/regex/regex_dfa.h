// The lazy DFA of the regular-expression engine. A DFA state is the set of
// automaton threads alive after some bytes, split into groups by the
// position where they started, earliest first; a thread whose instruction
// already runs in an earlier group is dropped, since the earlier start wins
// under leftmost-longest matching. Once a group reaches a match, the later
// groups and the adding of new starts are cut, so the forward scan ends at
// the end of the leftmost-longest match; the reverse DFA, anchored at that
// end, then finds where it starts. Zero-width conditions are decided when
// the byte after a position is known, so every transition also says whether
// a match ends just before the byte it consumes.
//
// States are built on first use and kept in a cache of bounded size
// (cacheBudget bytes). When the cache is full it is emptied and the scan
// goes on from where it is, so memory never grows past the budget; a scan
// that keeps emptying it just runs at the speed of a plain automaton walk.
// Searching allocates nothing once the states it needs exist.
//
// Not thread-safe: one search at a time per object.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/regex/regex_program.h"

namespace korvane {

// Bytes that can begin a match, for skipping ahead of the DFA.
struct TRegexSkip {
  std::array<std::uint8_t, 256> Table{};  // 1 for a byte that can begin a match
  int Count = 0;                          // how many bytes have 1
  std::uint8_t Single = 0;                // the byte, when Count is 1
};

class TRegexDfa {
 public:
  enum class TDirection { drForward, drReverse };

  // program must be of kind pkForward for drForward and pkReverse for
  // drReverse, and must outlive the DFA.
  TRegexDfa(const TRegexProgram& program, TDirection direction, std::size_t cacheBudget);

  // Forward: the end of the leftmost-longest non-empty match that starts at
  // or after start, or -1. Bytes before start are context for conditions
  // only. skip (may be null) names the bytes that can begin a match.
  std::ptrdiff_t FindMatchEnd(std::string_view text, std::size_t start, const TRegexSkip* skip);

  // Reverse: the smallest s in [start, end) such that text[s, end) is a
  // match, or -1.
  std::ptrdiff_t FindMatchStart(std::string_view text, std::size_t start, std::size_t end);

  // How often the cache was emptied; for tests.
  std::size_t FlushCount() const { return flushCount_; }

 private:
  // How new groups of threads begin.
  enum TStartMode : std::uint8_t { smNone = 0, smOnce = 1, smAlways = 2 };

  struct TState {
    std::uint32_t KernelBegin = 0;  // in kernelPool_
    std::uint32_t KernelSize = 0;
    std::uint8_t Context = 0;       // kCtx... of the byte consumed last (scan order)
    std::uint8_t Mode = smNone;
  };

  static constexpr std::int32_t kMark = -1;     // separates groups in a kernel
  static constexpr std::int32_t kUnknown = -1;  // transition not built yet
  static constexpr std::int32_t kDeadState = 0;

  std::int32_t Transition(std::int32_t state, int byteClass) {
    const std::int32_t t = transitions_[static_cast<std::size_t>(state) * stride_ + byteClass];
    return t != kUnknown ? t : BuildTransition(state, byteClass);
  }
  std::int32_t BuildTransition(std::int32_t state, int byteClass);
  void Closure(std::int32_t pc, std::uint8_t before, std::uint8_t after, bool& matched);
  void Step(int byteClass);
  std::int32_t Intern(std::uint8_t context, std::uint8_t mode);
  std::int32_t StartState(std::uint8_t context);
  void Flush();
  std::uint8_t ContextOf(std::uint8_t byte) const {
    return program_.HasAssertions ? program_.ClassContext[program_.ByteClass[byte]] : 0;
  }
  std::uint8_t EdgeContext() const { return program_.HasAssertions ? kCtxEdge : 0; }

  const TRegexProgram& program_;
  const TDirection direction_;
  const std::size_t cacheBudget_;
  const int stride_;     // byte classes plus the text edge
  const int edgeClass_;  // the pseudo-class of the text's end (or start, in reverse)

  std::vector<TState> states_;
  std::vector<std::uint8_t> startOnly_;  // per state: no threads yet, starting at every byte
  std::vector<std::int32_t> kernelPool_;
  std::vector<std::int32_t> transitions_;  // (next state << 1) | match before the byte
  std::unordered_map<std::string, std::int32_t> index_;
  std::array<std::int32_t, 8> startStates_{};
  std::size_t cacheBytes_ = 0;
  std::size_t flushCount_ = 0;

  // Scratch of BuildTransition, sized once.
  std::vector<std::int32_t> current_;
  std::vector<std::int32_t> next_;
  std::vector<std::int32_t> reached_;
  std::vector<std::int32_t> stack_;
  std::vector<std::uint32_t> visitedStamp_;
  std::vector<std::uint32_t> steppedStamp_;
  std::uint32_t stamp_ = 0;
  std::string key_;
};

}  // namespace korvane
