// The line builder: the window around the hit, the left and right context of
// each context type, the copying of shown characters with their segments,
// and the finishing touches (ellipses, the shortened long hit, spaces for
// line breaks).
#include "search/line_builder.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/font.h"
#include "search/concord_config.h"
#include "search/language.h"
#include "search/sentence_settings.h"

namespace korvane {

namespace {

constexpr TCharTypeMask Bit(TCharType type) { return static_cast<TCharTypeMask>(1u << type); }

// Ranks from this value on are not highlighted (255 is "no rank").
constexpr std::uint8_t kFirstUnshownRank = 128;
// The left context does not reach into the first 64 characters of a window
// that does not begin at the start of the text.
constexpr std::int32_t kLeftMargin = 64;

bool IsTagType(TCharType type) { return type == ctTag || type == ctWordTag; }

// Puts the reader back on its whole text, however the build ends.
class RangeReset {
 public:
  explicit RangeReset(TBufStream& reader) : reader_(reader) {}
  ~RangeReset() {
    try {
      reader_.SetRange(0, reader_.Size());
    } catch (...) {
      // The next user of the reader sets its own range.
    }
  }
  RangeReset(const RangeReset&) = delete;
  RangeReset& operator=(const RangeReset&) = delete;

 private:
  TBufStream& reader_;
};

class LineBuilder {
 public:
  LineBuilder(TBufStream& reader, const TConcordItem& hit, const TLineSettings& settings,
              const TLineFonts& fonts, const SentenceSettings& sentences,
              const LanguageState& language)
      : reader_(reader),
        hit_(hit),
        settings_(settings),
        fonts_(fonts),
        sentences_(sentences),
        language_(language) {}

  TConcordLine Build();

 private:
  std::int32_t LeftStart(std::int32_t windowStart) const;
  std::int32_t RightEnd(std::int32_t rightLimit) const;
  std::int32_t SentenceStart(std::int32_t limit) const;
  std::int32_t SentenceEnd(std::int32_t rightLimit) const;
  // True when the word before the delimiter c at position, with c appended,
  // is an abbreviation or exception that does not end the sentence.
  bool PassesAbbreviation(std::int32_t position, unsigned char c) const;

  void Emit(std::int32_t from, std::int32_t to);
  void Append(unsigned char c, std::int32_t position);
  std::uint8_t SlotOf(std::int32_t position) const;
  void OpenSegment(std::uint8_t slot);
  void CloseSegment();
  TConcordLine Finish();

  TBufStream& reader_;
  const TConcordItem& hit_;
  const TLineSettings& settings_;
  const TLineFonts& fonts_;
  const SentenceSettings& sentences_;
  const LanguageState& language_;

  std::int32_t start_ = 0;  // S
  std::int32_t end_ = 0;    // E
  bool noContext_ = false;
  bool collocates_ = false;

  std::string out_;
  TSVFormatArray format_;  // 0-based starts until Finish
  int openSegment_ = -1;
  std::uint8_t lastSlot_ = kNoCollocates;
  bool hitShown_ = false;
  std::int32_t hitOutStart_ = 0;
  std::int32_t hitOutEnd_ = 0;
};

TConcordLine LineBuilder::Build() {
  RangeReset reset(reader_);
  const std::int32_t size = reader_.Size();
  start_ = std::clamp(hit_.HitStart, 0, size);
  end_ = std::clamp(hit_.HitEnd, start_, size);
  const std::int32_t length = end_ - start_;
  noContext_ = settings_.ContextType < ctxSentence && settings_.ContextSize <= 0;
  collocates_ = settings_.CollocFirst != kNoCollocates && settings_.CollocLast != kNoCollocates;

  const std::int32_t lo = std::max(start_ - kLineWindow, 0);
  const std::int32_t hi = std::min(end_ + kLineWindow, size);
  const bool fits = hi - lo <= TBufStream::kBufferSize;
  std::int32_t firstHalfEnd;
  if (fits) {
    reader_.ValidateBuffer(lo, hi);
    firstHalfEnd = length <= kLineWindow ? start_ + length / 2 : start_ + kLineWindow / 2;
  } else {
    reader_.ValidateBuffer(lo, start_ + kLineWindow / 2);
    firstHalfEnd = start_ + kLineWindow / 2;
  }
  Emit(noContext_ ? start_ : LeftStart(lo), firstHalfEnd);

  std::int32_t secondHalfStart;
  if (fits) {
    secondHalfStart = length <= kLineWindow ? start_ + length / 2 : end_ - kLineWindow / 2;
  } else {
    reader_.ValidateBuffer(end_ - kLineWindow / 2, hi);
    secondHalfStart = end_ - kLineWindow / 2;
  }
  Emit(secondHalfStart, noContext_ ? end_ : RightEnd(hi));
  return Finish();
}

std::int32_t LineBuilder::LeftStart(std::int32_t windowStart) const {
  const std::int32_t limit =
      std::min(windowStart + (windowStart != 0 ? kLeftMargin : 0), start_);
  const std::int32_t size = settings_.ContextSize;
  switch (settings_.ContextType) {
    case ctxCharacters:
      // Context beyond the window is not read.
      return std::max(start_ - size, windowStart);
    case ctxSentence:
      return SentenceStart(limit);
    default:
      break;
  }
  // Words count the ends of words passed, lines the line breaks passed.
  const bool words = settings_.ContextType == ctxWords;
  reader_.SetPosition(start_);
  std::int32_t p = start_;
  std::int32_t passed = 0;
  TCharType previous = ctNone;
  while (p > limit) {
    TCharType type;
    reader_.ReadCharBackTyped(type);
    --p;
    const bool counts = words ? previous == ctWord && type != ctWord : type == ctNewLine;
    if (counts && ++passed >= size) break;
    previous = type;
  }
  return p != 0 ? p + 1 : 0;
}

std::int32_t LineBuilder::SentenceStart(std::int32_t limit) const {
  std::int32_t p = start_;
  reader_.SetPosition(p);
  while (p > limit) {
    TCharType type;
    const unsigned char c = reader_.ReadCharBackTyped(type);
    --p;
    if (!sentences_.IsSentenceDelimiter(c) || IsTagType(type)) continue;
    if (PassesAbbreviation(p, c)) {
      reader_.SetPosition(p);
      continue;
    }
    // The sentence begins at the first visible character after the delimiter.
    std::int32_t first = p + 1;
    reader_.SetPosition(first);
    while (first < start_ && reader_.ReadChar() <= ' ') ++first;
    return first;
  }
  return limit;
}

std::int32_t LineBuilder::RightEnd(std::int32_t rightLimit) const {
  const std::int32_t size = settings_.ContextSize;
  switch (settings_.ContextType) {
    case ctxCharacters:
      return std::min(end_ + size, rightLimit);
    case ctxSentence:
      return SentenceEnd(rightLimit);
    default:
      break;
  }
  const bool words = settings_.ContextType == ctxWords;
  reader_.SetPosition(end_);
  std::int32_t p = end_;
  std::int32_t passed = 0;
  TCharType previous = ctNone;
  while (p < rightLimit) {
    TCharType type;
    reader_.ReadCharTyped(type);
    ++p;
    const bool counts = words ? previous == ctWord && type != ctWord : type == ctNewLine;
    if (counts && ++passed >= size) break;
    previous = type;
  }
  return p;
}

std::int32_t LineBuilder::SentenceEnd(std::int32_t rightLimit) const {
  std::int32_t p = end_;
  std::int32_t lastDelimiterEnd = -1;
  reader_.SetPosition(p);
  while (p < rightLimit) {
    TCharType type;
    const unsigned char c = reader_.ReadCharTyped(type);
    ++p;
    if (!sentences_.IsSentenceDelimiter(c) || IsTagType(type)) continue;
    lastDelimiterEnd = p;
    if (!PassesAbbreviation(p - 1, c)) break;
    // Not the end of the sentence: step over the character after it.
    reader_.SetPosition(p);
    if (p < rightLimit) {
      reader_.ReadCharTyped(type);
      ++p;
    }
  }
  return lastDelimiterEnd >= 0 ? lastDelimiterEnd : p;
}

bool LineBuilder::PassesAbbreviation(std::int32_t position, unsigned char c) const {
  reader_.SetPosition(position);
  std::string word = reader_.ReadWordBack();
  word.push_back(static_cast<char>(c));
  return sentences_.IsAbbreviation(word, language_);
}

void LineBuilder::Emit(std::int32_t from, std::int32_t to) {
  if (to <= from) return;
  reader_.SetPosition(from);
  for (std::int32_t p = from; p < to; ++p) {
    TCharType type;
    const unsigned char c = reader_.ReadCharTyped(type);
    // A zero byte would end the line for every consumer of it; leave it out.
    if (c == 0 || !MaskShows(settings_.Mask, type)) continue;
    Append(c, p);
  }
}

void LineBuilder::Append(unsigned char c, std::int32_t position) {
  const std::uint8_t slot = SlotOf(position);
  if (slot != lastSlot_) {
    CloseSegment();
    OpenSegment(slot);
    lastSlot_ = slot;
  }
  // Every line break becomes one carriage return: a line feed at the start
  // or after a carriage return goes, and so does a second carriage return.
  if (c == '\n') {
    if (out_.empty() || out_.back() == '\r') return;
    c = '\r';
  } else if (c == '\r' && !out_.empty() && out_.back() == '\r') {
    return;
  }
  out_.push_back(static_cast<char>(c));
}

std::uint8_t LineBuilder::SlotOf(std::int32_t position) const {
  if (position >= start_ && position < end_) return pcSearchTerm;
  if (!collocates_) return kNoCollocates;
  const int first = std::max<int>(settings_.CollocFirst, pc4L);
  const int last = std::min<int>(settings_.CollocLast, pc4R);
  for (int slot = first; slot <= last; ++slot)
    if (hit_.Words[slot] && position >= hit_.WordStart[slot] && position < hit_.WordEnd[slot])
      return static_cast<std::uint8_t>(slot);
  return kNoCollocates;
}

void LineBuilder::OpenSegment(std::uint8_t slot) {
  TSVFormatInfo segment;
  segment.Start = static_cast<std::int32_t>(out_.size());
  if (slot == pcSearchTerm) {
    segment.Centring = settings_.ContextType <= ctxWords ? 1 : 0;
    segment.Hit = 1;
    segment.Font = fonts_.Hilite;
    hitShown_ = true;
    hitOutStart_ = segment.Start;
  } else if (slot <= pc4R && hit_.CollocateRanks[slot] < kFirstUnshownRank) {
    segment.Font = fonts_.Collocate;
    segment.Font.Color =
        CollocateRankColor(settings_.CollocColor, hit_.CollocateRanks[slot], settings_.RankCount);
  } else {
    return;
  }
  format_.push_back(segment);
  openSegment_ = static_cast<int>(format_.size()) - 1;
}

void LineBuilder::CloseSegment() {
  if (openSegment_ < 0) return;
  TSVFormatInfo& segment = format_[static_cast<std::size_t>(openSegment_)];
  segment.Length = static_cast<std::int32_t>(out_.size()) - segment.Start;
  if (segment.Hit) hitOutEnd_ = static_cast<std::int32_t>(out_.size());
  openSegment_ = -1;
}

TConcordLine LineBuilder::Finish() {
  CloseSegment();
  if (!hitShown_) {
    hitOutStart_ = 0;
    hitOutEnd_ = static_cast<std::int32_t>(out_.size());
  }
  const bool ellipses = !noContext_ && settings_.ContextType <= ctxWords;
  const std::string_view prefix = ellipses ? "... " : "";
  const std::string_view suffix = ellipses ? " ..." : "";
  const auto shift = static_cast<std::int32_t>(1 + prefix.size());

  TConcordLine line;
  const std::int32_t hitLength = hitOutEnd_ - hitOutStart_;
  // A hit that does not show (all its characters are masked) counts as the
  // whole output, but there is no hit to shorten.
  if (!hitShown_ || hitLength <= kMaxShownHit) {
    line.Text.reserve(prefix.size() + out_.size() + suffix.size());
    line.Text.append(prefix).append(out_).append(suffix);
    for (TSVFormatInfo& segment : format_) segment.Start += shift;
  } else {
    const std::string_view out(out_);
    line.Text.append(prefix)
        .append(out.substr(0, static_cast<std::size_t>(hitOutStart_ + kHitHeadKept)))
        .append(kHitCut)
        .append(out.substr(static_cast<std::size_t>(hitOutEnd_ - kHitTailKept)))
        .append(suffix);
    const std::int32_t removed = hitLength - kMaxShownHit;
    for (TSVFormatInfo& segment : format_) {
      if (segment.Hit) {
        segment.Length = kMaxShownHit;
        segment.Start += shift;
      } else {
        segment.Start += segment.Start >= hitOutEnd_ ? shift - removed : shift;
      }
    }
  }
  std::replace(line.Text.begin(), line.Text.end(), '\r', ' ');
  line.Format = std::move(format_);
  return line;
}

// r × x ÷ n rounded to the nearest integer, halves to the even neighbour.
std::int64_t RoundedShare(std::int64_t r, std::int64_t x, std::int64_t n) {
  const std::int64_t product = r * x;
  std::int64_t quotient = product / n;
  const std::int64_t twice = 2 * (product % n);
  if (twice > n || (twice == n && quotient % 2 != 0)) ++quotient;
  return quotient;
}

}  // namespace

TCharTypeMask DisplayMask(bool suppressTags, bool suppressPartOfSpeech, bool suppressWords) {
  TCharTypeMask mask = Bit(ctDelimiter) | Bit(ctWhiteSpace) | Bit(ctNewLine) | Bit(ctWord) |
                       Bit(ctTag) | Bit(ctWordTag);
  if (suppressTags) mask &= static_cast<TCharTypeMask>(~Bit(ctTag));
  if (suppressPartOfSpeech) mask &= static_cast<TCharTypeMask>(~Bit(ctWordTag));
  if (suppressWords) mask &= static_cast<TCharTypeMask>(~(Bit(ctWord) | Bit(ctDelimiter)));
  return mask;
}

TLineFonts LineFontsOf(const ConcordConfig& config) {
  const auto segmentFont = [](const TFont& font) {
    return TSVFontInfo{font.Name, font.Style, font.Color, font.Size};
  };
  return TLineFonts{segmentFont(config.HiliteFont), segmentFont(config.CollocateFont)};
}

std::int32_t CollocateRankColor(std::int32_t baseColor, int rank, int rankCount) {
  if (rankCount <= 0) return baseColor;
  std::int32_t color = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::int64_t channel = (baseColor >> shift) & 0xFF;
    const std::int64_t shown = channel - RoundedShare(rank, channel - channel / 10, rankCount);
    color |= static_cast<std::int32_t>(std::clamp<std::int64_t>(shown, 0, 255)) << shift;
  }
  return color;
}

TConcordLine BuildConcordLine(TBufStream& reader, const TConcordItem& hit,
                              const TLineSettings& settings, const TLineFonts& fonts,
                              const SentenceSettings& sentences, const LanguageState& language) {
  return LineBuilder(reader, hit, settings, fonts, sentences, language).Build();
}

}  // namespace korvane
