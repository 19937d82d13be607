// The regular-expression side of the scan: the engine's tables, the
// compilation of a term, and the windowed scan that feeds the corpus text to
// the engine.
//
// The engine matches over a contiguous byte string, the corpus is read
// through a buffered reader, so the scan copies the text into a window of
// kChunkSize characters. While copying it makes the text look as a reader of
// running text sees it: every run of carriage returns and line feeds becomes
// one space, and the skipping characters of the search are left out. For
// every window character it records how many text characters were dropped
// before it (its shift), so that a match found in the window maps back to
// real text positions. When the window holds no match and the text goes on,
// it slides by half a window and the search continues.
#include "search/regex_scan.h"

#include <cstring>
#include <memory>

#include "app/errors.h"
#include "search/regex/reg_exp.h"
#include "search/scan_control.h"
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

namespace {

constexpr std::int32_t kChunkSize = 8192;
constexpr std::int32_t kSlide = kChunkSize / 2;

// Kinds of window characters.
constexpr std::uint8_t kSingle = 0;
constexpr std::uint8_t kLead = 1;
constexpr std::uint8_t kTrail = 2;

inline bool IsLineBreak(unsigned char c) { return c == '\r' || c == '\n'; }

// What the filling of the window does with a byte, beyond storing it.
constexpr std::uint8_t kIsDelimiter = 1;  // ends a word (the cancel check)
constexpr std::uint8_t kIsLineBreak = 2;  // part of a line-break run
constexpr std::uint8_t kIsSkipped = 4;    // a skipping character, dropped
constexpr std::uint8_t kIsLead = 8;       // leads a double-byte character

// One scan's window on the text: chunk_ holds Filled characters (and a zero
// after them), chunkShift_ and chunkKind_ their shifts and kinds. Offset i
// stands for text position Start + i + chunkShift_[i]. A window lives for one
// FindNextRegexMatch call; its 45 KB are small beside the reading it does.
class TRegexWindow {
 public:
  TRegexWindow(TSearchContext& context, TScanControl& control, std::int32_t start)
      : Start(start),
        rules_(context.Rules),
        reader_(*context.Reader),
        control_(control),
        chunk_(new char[kChunkSize + 1]),
        chunkShift_(new std::int32_t[kChunkSize]),
        chunkKind_(new std::uint8_t[kChunkSize]) {
    const LowerCaseTable& fold = rules_.FoldTable();
    for (int c = 1; c < 256; ++c) {
      const auto b = static_cast<unsigned char>(c);
      std::uint8_t kind = 0;
      if (InSet(rules_.DelimiterSet, b)) kind |= kIsDelimiter;
      if (IsLineBreak(b)) kind |= kIsLineBreak;
      else if (InSet(rules_.SkipSet, fold[b])) kind |= kIsSkipped;
      if (rules_.DoubleByte && rules_.LeadByte[b]) kind |= kIsLead;
      class_[c] = kind;
    }
    class_[0] = InSet(rules_.DelimiterSet, 0) ? kIsDelimiter : 0;
  }

  // Appends characters from the reader's position until the window is full,
  // the range ends or the search is cancelled. Returns false when cancelled.
  bool Fill();

  // Moves the second half of the window to the front, keeping the character
  // before it as context for anchors and word boundaries: afterwards the
  // characters from offset 1 on have not been searched as match starts yet.
  void Slide();

  // The text position of window offset i (i < Filled).
  std::int32_t PositionOf(std::int32_t i) const { return Start + i + chunkShift_[i]; }
  // The text position a match ending at window offset end stands for.
  std::int32_t EndPositionOf(std::int32_t end) const {
    return end < Filled ? PositionOf(end) : PositionOf(Filled - 1) + 1;
  }
  std::string_view Text() const { return {chunk_.get(), static_cast<std::size_t>(Filled)}; }
  bool IsTrail(std::int32_t i) const { return chunkKind_[i] == kTrail; }

  std::int32_t Start;  // text position of window offset 0, shifts aside
  std::int32_t Filled = 0;
  // True when the last Fill stopped for want of room (the text goes on).
  bool Full = false;

 private:
  void Store(unsigned char c, std::uint8_t kind) {
    chunk_[Filled] = static_cast<char>(c);
    chunkShift_[Filled] = dropped_;
    chunkKind_[Filled] = kind;
    ++Filled;
  }

  const TPatternRules& rules_;
  TBufStream& reader_;
  TScanControl& control_;
  std::unique_ptr<char[]> chunk_;
  std::unique_ptr<std::int32_t[]> chunkShift_;
  std::unique_ptr<std::uint8_t[]> chunkKind_;
  std::array<std::uint8_t, 256> class_{};  // kIs... bits per byte
  std::int32_t dropped_ = 0;   // characters dropped since the scan began
  bool inLineBreak_ = false;   // the last character kept was a line-break run
  bool inWord_ = false;        // the last character read was not a delimiter
};

bool TRegexWindow::Fill() {
  Full = false;
  std::int32_t at = reader_.Position();
  const std::int32_t rangeEnd = reader_.RangeEnd();
  while (Filled < kChunkSize && at < rangeEnd) {
    const unsigned char c = reader_.ReadChar();
    if (c == 0 && reader_.Position() == at) break;  // the data ended before the range
    ++at;
    const std::uint8_t kind = class_[c];
    if (kind == 0) [[likely]] {
      Store(c, kSingle);
      inWord_ = true;
      inLineBreak_ = false;
      continue;
    }
    if (kind & kIsDelimiter) {
      if (inWord_ && control_.PollCancel()) return false;
      inWord_ = false;
    } else {
      inWord_ = true;
    }
    if (kind & kIsLineBreak) {
      if (inLineBreak_) {
        ++dropped_;
      } else {
        Store(' ', kSingle);
        inLineBreak_ = true;
      }
      continue;
    }
    if (kind & kIsSkipped) {
      ++dropped_;
      continue;
    }
    inLineBreak_ = false;
    if (kind & kIsLead) {
      if (Filled + 1 == kChunkSize) {
        reader_.SetPosition(at - 1);  // keep the pair together in the next window
        Full = true;
        break;
      }
      const unsigned char trail = at < rangeEnd ? reader_.ReadChar() : 0;
      if (trail != 0) {
        ++at;
        Store(c, kLead);
        Store(trail, kTrail);
        continue;
      }
      // A lead byte without a trail byte stands alone (a zero byte that was
      // read is read again as a character of its own).
      reader_.SetPosition(at);
    }
    Store(c, kSingle);
  }
  if (Filled == kChunkSize) Full = true;
  chunk_[Filled] = '\0';
  return !control_.Cancelled();
}

void TRegexWindow::Slide() {
  const std::int32_t from = kSlide - 1;
  const std::int32_t count = Filled - from;
  std::memmove(chunk_.get(), chunk_.get() + from, static_cast<std::size_t>(count));
  std::memmove(chunkShift_.get(), chunkShift_.get() + from, static_cast<std::size_t>(count) * sizeof(std::int32_t));
  std::memmove(chunkKind_.get(), chunkKind_.get() + from, static_cast<std::size_t>(count));
  Filled = count;
  Start += from;
}

// Searches the window from offset; a match that begins on a trail byte is
// not a match there and the search goes on from the byte after it.
TRegExpMatch SearchWindow(TRegExp& regExp, const TRegexWindow& window, std::int32_t offset) {
  for (;;) {
    TRegExpMatch m = regExp.Search(window.Text(), offset);
    if (!m.Found || !window.IsTrail(m.Start)) return m;
    offset = m.Start + 1;
  }
}

// A hit never ends with line breaks: where the match took a line-break run
// (seen as one space) as its last character, or ends inside such a run, the
// end moves back before the run.
std::int32_t EndBeforeLineBreak(TBufStream& reader, std::int32_t start, std::int32_t end) {
  while (end - 1 > start) {
    reader.SetPosition(end - 1);
    if (!IsLineBreak(reader.ReadChar())) break;
    --end;
  }
  return end;
}

bool ScanWindows(TSearchContext& context, TScanControl& control, TRegExp& regExp) {
  TBufStream& reader = *context.Reader;
  const std::int32_t rangeStart = reader.RangeStart();
  const std::int32_t rangeEnd = reader.RangeEnd();
  std::int32_t hitFrom = reader.Position();
  if (hitFrom < rangeStart) hitFrom = rangeStart;
  if (hitFrom >= rangeEnd) return false;
  context.HitStart = hitFrom;

  // One character before the start, when there is one, is read as context
  // for anchors and word boundaries; it is not searched as a match start.
  TRegexWindow window(context, control, hitFrom > rangeStart ? hitFrom - 1 : hitFrom);
  reader.SetPosition(window.Start);
  if (!window.Fill() || window.Filled == 0) return false;
  // The context character may have been dropped or folded into a line break
  // run together with the first character; only a character of its own is
  // skipped.
  std::int32_t offset = window.PositionOf(0) < hitFrom ? 1 : 0;
  for (;;) {
    control.ReportProgress(window.Start, true);
    const TRegExpMatch m = SearchWindow(regExp, window, offset);
    // A match that reaches the end of a full window may change once the text
    // after it is seen ($, \b, a longer repeat); when it starts in the half
    // that the slide keeps, it is looked for again in the next window.
    const bool deferred = m.Found && window.Full && m.End == window.Filled && m.Start >= kSlide;
    if (m.Found && !deferred) {
      std::int32_t start = window.PositionOf(m.Start);
      std::int32_t end = window.EndPositionOf(m.End);
      if (start > rangeEnd - 1) start = rangeEnd - 1;
      if (end > rangeEnd) end = rangeEnd;
      if (end <= start) return false;
      end = EndBeforeLineBreak(reader, start, end);
      context.HitStart = start;
      context.HitEnd = end;
      context.LastDelimiterConsumed = false;
      reader.SetPosition(end);
      control.ReportProgress(end, false);
      return true;
    }
    if (!window.Full) return false;
    window.Slide();
    offset = 1;
    if (!window.Fill()) return false;
  }
}

}  // namespace

bool FindNextRegexMatch(TSearchContext& context, TScanControl& control) {
  control.SetSpeedDisplay(false);
  if (context.Terms.empty() || !context.Terms.front().RegExp) return false;
  try {
    return ScanWindows(context, control, *context.Terms.front().RegExp);
  } catch (const ERegExp& e) {
    // The engine gave up (a pattern too costly to match): the search ends
    // with the engine's message like any other error.
    throw Exception(e.what());
  }
}

}  // namespace korvane
