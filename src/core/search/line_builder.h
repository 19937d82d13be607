// The line builder: cuts the visible concordance line of one hit from its
// corpus text. Lines are never stored; the window, the exporter and the
// printer rebuild each line whenever they need it, with whatever context type
// and size are current.
//
// A line is read through the text's own reader inside a window of at most
// 512 characters on either side of the hit. When the whole window fits the
// reader's type map (8,192 bytes) it is classified once and the line is
// split at the middle of the hit; otherwise each side gets its own map and a
// hit longer than 512 characters loses its middle. The left context is found
// by reading backwards from the hit, the right one by reading forwards, by
// characters, words, line breaks or sentence ends. The characters between
// are copied to the line except those of the classes the mask leaves out;
// line breaks collapse to one carriage return each, which becomes a space at
// the end. Alongside the text the builder records the formatting segments:
// the hit in the highlight font and every ranked collocate in the collocate
// font, shaded darker the lower its rank. A hit longer than 60 characters is
// shown as its first 27, " ... " and its last 28.
#pragma once

#include <cstdint>
#include <string>

#include "corpus/buf_stream.h"
#include "results/concord_item.h"
#include "results/sv_format.h"

namespace korvane {

class ConcordConfig;
class LanguageState;
class SentenceSettings;

// The context types.
enum TContextType : std::uint8_t {
  ctxCharacters = 0,
  ctxWords = 1,
  ctxLines = 2,
  ctxSentence = 3,
};

// Which character classes a line shows: bit t set shows TCharType t.
using TCharTypeMask = std::uint8_t;

inline constexpr bool MaskShows(TCharTypeMask mask, TCharType type) {
  return (mask >> type) & 1u;
}

// The mask of a line: delimiters, white space, line breaks, words, tags and
// part-of-speech tags, less tags when suppressTags, less part-of-speech tags
// when suppressPartOfSpeech, less words and delimiters when suppressWords.
// ctNone is never shown.
TCharTypeMask DisplayMask(bool suppressTags, bool suppressPartOfSpeech, bool suppressWords);

// The slot value that turns collocate highlighting off.
inline constexpr std::uint8_t kNoCollocates = pcUnsorted;

// How one line is to be built.
struct TLineSettings {
  std::uint8_t ContextType = ctxCharacters;
  std::int32_t ContextSize = 0;
  // Collocates: base colour (0x00BBGGRR) of rank 0, the number of coloured
  // ranks, and the range of slots whose words may be highlighted
  // (kNoCollocates in either turns highlighting off).
  std::int32_t CollocColor = 0;
  int RankCount = 0;
  std::uint8_t CollocFirst = kNoCollocates;
  std::uint8_t CollocLast = kNoCollocates;
  TCharTypeMask Mask = DisplayMask(false, false, false);
};

// The fonts of the two kinds of segment.
struct TLineFonts {
  TSVFontInfo Hilite;
  TSVFontInfo Collocate;
};

// The segment fonts of the configuration's HiliteFont and CollocateFont.
TLineFonts LineFontsOf(const ConcordConfig& config);

// The colour of collocate rank `rank` when rankCount ranks are coloured:
// each channel c of baseColor less rank × (c − c div 10) ÷ rankCount,
// rounded to the nearest integer with halves to the even neighbour; rank 0
// is the base colour and rank rankCount a tenth of it. Colours are
// 0x00BBGGRR; a channel never goes below 0. With no ranks the base colour.
std::int32_t CollocateRankColor(std::int32_t baseColor, int rank, int rankCount);

// A built line: the text as shown and its segments (1-based starts), the hit
// first among them in line order, at most nine.
struct TConcordLine {
  std::string Text;
  TSVFormatArray Format;
};

// The longest hit shown whole, and how a longer one is cut.
inline constexpr int kMaxShownHit = 60;
inline constexpr int kHitHeadKept = 27;
inline constexpr int kHitTailKept = 28;
inline constexpr const char* kHitCut = " ... ";
// Half the window read around a hit.
inline constexpr std::int32_t kLineWindow = 512;

// Builds the line of hit from reader, which must read the hit's text and
// have the current tag settings applied with its tag state cleared. The
// Sentence context ends sentences by sentences in language's case. The
// reader is left with its range reset to the whole text and no type map.
// Throws what the reader throws (Exception "Internal error:\rValidateBuffer
// failed" when the window cannot be read) and std::bad_alloc.
TConcordLine BuildConcordLine(TBufStream& reader, const TConcordItem& hit,
                              const TLineSettings& settings, const TLineFonts& fonts,
                              const SentenceSettings& sentences, const LanguageState& language);

}  // namespace korvane
