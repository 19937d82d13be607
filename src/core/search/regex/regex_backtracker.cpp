// The back-reference matcher (see regex_backtracker.h). An explicit stack
// instead of recursion keeps deep paths from overflowing the thread's stack.
#include "search/regex/regex_backtracker.h"

#include <algorithm>

#include "search/regex/regex_error.h"

namespace korvane {

TRegexBacktracker::TRegexBacktracker(const TRegexProgram& program) : program_(program) {
  registers_.assign(program.RegisterCount, -1);
}

std::ptrdiff_t TRegexBacktracker::LongestMatchAt(std::string_view text, std::size_t start, std::uint64_t& steps,
                                                 std::uint64_t budget) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto size = static_cast<std::int64_t>(text.size());
  auto contextAt = [&](std::int64_t pos, bool afterSide) -> std::uint8_t {
    const std::int64_t at = afterSide ? pos : pos - 1;
    if (at < 0 || at >= size) return kCtxEdge;
    return program_.ByteContext(data[at]);
  };

  std::fill(registers_.begin(), registers_.end(), -1);
  stack_.clear();
  stack_.push_back({program_.Start, static_cast<std::int64_t>(start)});
  std::int64_t best = -1;
  while (!stack_.empty()) {
    const TFrame frame = stack_.back();
    stack_.pop_back();
    if (frame.Pc < 0) {
      registers_[-1 - frame.Pc] = frame.Value;
      continue;
    }
    std::int32_t pc = frame.Pc;
    std::int64_t pos = frame.Value;
    for (bool alive = true; alive;) {
      if (++steps > budget) throw ERegExp(TRegExpError::reInternal);
      const TRegexInst& inst = program_.Insts[pc];
      switch (inst.Op) {
        case TRegexOp::opSet:
          if (pos < size && program_.Sets[inst.Arg][data[pos]]) {
            ++pos;
            pc = inst.Next;
          } else {
            alive = false;
          }
          break;
        case TRegexOp::opSplit:
          stack_.push_back({inst.Arg, pos});
          pc = inst.Next;
          break;
        case TRegexOp::opJump:
          pc = inst.Next;
          break;
        case TRegexOp::opAssert:
          alive = AssertionHolds(inst.Assertion, contextAt(pos, false), contextAt(pos, true));
          pc = inst.Next;
          break;
        case TRegexOp::opSave:
        case TRegexOp::opLoopStart:
        case TRegexOp::opLoopEnter: {
          const std::int32_t slot = inst.Op == TRegexOp::opLoopEnter ? inst.Arg + 1 : inst.Arg;
          stack_.push_back({-1 - slot, registers_[slot]});
          registers_[slot] = pos;
          pc = inst.Next;
          break;
        }
        case TRegexOp::opLoopCheck:
          if (pos != registers_[inst.Arg])
            pc = inst.Next;
          else if (pos == registers_[inst.Arg + 1])
            pc = inst.Exit;
          else
            alive = false;
          break;
        case TRegexOp::opBackRef: {
          // A group that took no part in the match matches nothing.
          const std::int64_t from = registers_[2 * inst.Arg];
          const std::int64_t to = registers_[2 * inst.Arg + 1];
          const std::int64_t length = to - from;
          alive = from >= 0 && to >= from && pos + length <= size;
          for (std::int64_t i = 0; alive && i < length; ++i)
            alive = program_.Translate[data[from + i]] == program_.Translate[data[pos + i]];
          pos += length;
          pc = inst.Next;
          break;
        }
        case TRegexOp::opMatch:
          if (pos > static_cast<std::int64_t>(start) && pos > best) {
            best = pos;
            if (best == size) return static_cast<std::ptrdiff_t>(best);  // nothing can be longer
          }
          alive = false;
          break;
      }
    }
  }
  return static_cast<std::ptrdiff_t>(best);
}

}  // namespace korvane
