// The compiled form of a regular expression: a Thompson automaton whose
// instructions consume one byte out of a set, branch, test a zero-width
// condition, or (for the back-reference matcher only) record group bounds
// and compare a back-reference. Bytes are grouped into classes that no
// instruction and no condition tells apart, so that the lazy DFA keeps one
// transition per class instead of one per byte.
//
// Three kinds are compiled from one tree: forward and reverse programs for
// the DFA (groups dropped, a back-reference over-approximated by "any bytes",
// which makes them a prefilter for patterns with back-references), and a
// program for the backtracker (groups recorded, empty loop iterations cut).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/regex/regex_parser.h"
#include "search/regex/regex_tables.h"

namespace korvane {

enum class TRegexOp : std::uint8_t {
  opSet,        // consume a byte of Sets[Arg], go to Next
  opSplit,      // go to Next and to Arg
  opJump,       // go to Next
  opAssert,     // go to Next when Assertion holds here
  opSave,       // Registers[Arg] = position, go to Next
  opLoopEnter,  // Registers[Arg + 1] = position (the loop is entered), go to Next
  opLoopStart,  // Registers[Arg] = position (an iteration starts), go to Next
  opLoopCheck,  // after an iteration: one that consumed nothing ends the loop
                // (go to Exit) when it was the first, and fails otherwise;
                // any other goes to Next
  opBackRef,    // consume the text of group Arg again, go to Next
  opMatch,      // a match ends here
};

struct TRegexInst {
  TRegexOp Op = TRegexOp::opMatch;
  TAssertion Assertion = TAssertion::asLineStart;
  std::int32_t Next = 0;
  std::int32_t Arg = 0;
  std::int32_t Exit = 0;
};

enum class TRegexProgramKind { pkForward, pkReverse, pkBacktrack };

// Context bits of the byte on one side of a text position.
inline constexpr std::uint8_t kCtxEdge = 1;     // the text's start or end
inline constexpr std::uint8_t kCtxNewline = 2;  // a line feed
inline constexpr std::uint8_t kCtxWord = 4;     // a word character

// Whether assertion holds between a byte with context `before` and one with
// context `after` (text order).
bool AssertionHolds(TAssertion assertion, std::uint8_t before, std::uint8_t after);

struct TRegexProgram {
  TRegexProgramKind Kind = TRegexProgramKind::pkForward;
  std::vector<TRegexInst> Insts;
  std::int32_t Start = 0;
  std::vector<TByteSet> Sets;       // by raw byte
  std::vector<TByteSet> ClassSets;  // the same sets by byte class
  int GroupCount = 0;
  int RegisterCount = 0;            // group bounds, then loop marks
  bool HasAssertions = false;

  std::array<std::uint8_t, 256> ByteClass{};
  int ClassCount = 0;
  std::vector<std::uint8_t> ClassContext;  // kCtx... bits per class; 0 when no assertions

  std::array<std::uint8_t, 256> Translate{};  // for comparing back-references
  std::array<std::uint8_t, 256> WordSyntax{};

  // Context bits of a raw byte (word character, line feed).
  std::uint8_t ByteContext(std::uint8_t c) const {
    return static_cast<std::uint8_t>(((WordSyntax[c] & kSyntaxWord) ? kCtxWord : 0) | (c == '\n' ? kCtxNewline : 0));
  }
};

// The most instructions a program may have; a larger pattern is
// "Regular expression too big".
inline constexpr std::size_t kMaxRegexProgramSize = 1 << 18;

// Compiles tree; throws ERegExp(reTooBig) past kMaxRegexProgramSize.
TRegexProgram CompileRegex(const TRegexTree& tree, const TRegExpTables& tables, TRegexProgramKind kind);

// The bytes that can begin a non-empty match of program (exact for patterns
// without conditions, a superset otherwise).
TByteSet RegexFirstBytes(const TRegexProgram& program);

}  // namespace korvane
