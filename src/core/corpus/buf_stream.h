// TBufStream: the buffered reader through which every corpus text is read.
//
// It reads one source stream through a window of 8,192 bytes (plus a zero
// byte after the data) that keeps up to 256 bytes behind the current
// position, so that stepping back a little costs no new read and a text of
// any size is scanned in constant memory. Every byte is classified by table
// lookup: for each of its four tag states the reader holds a 256-entry table
// that gives the byte's TCharType and the next state, so the forward scan
// costs one load per byte; only line feeds (whose type depends on the byte
// before) and part-of-speech tag start strings take a short detour. For
// reading backwards, ValidateBuffer classifies a range of up to 8,192 bytes
// at once into a type map that typed reads then follow.
//
// Reads never fail: at the end of the range or of the data, and at a zero
// byte inside a text, a read returns 0. A reader is used by one thread at a
// time; several readers, on several threads, may share one source.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/concord_config.h"

namespace korvane {

class TSynchroStream;
class TBufStream;

// The class of one character of a text.
enum TCharType : std::uint8_t {
  ctNone,        // no class (no type map, or outside the mapped range)
  ctDelimiter,   // a word delimiter other than a line break or space
  ctWhiteSpace,  // a space, or the line feed of a carriage return + line feed pair
  ctNewLine,     // a carriage return, or a line feed on its own
  ctWord,        // part of a word
  ctTag,         // part of a tag
  ctWordTag,     // part of a part-of-speech tag
};

// Called by FindString and FindFirstOf before each buffer they search, with
// the reader and its current offset (-1 when the caller asked for no
// position). Setting stop ends the search with -1. The callback may let
// pending messages run, but must not move the reader.
using TFindCallback = std::function<void(TBufStream& reader, std::int32_t offset, bool& stop)>;

// One string for FindFirstOf, with its rule that an occurrence counts only
// when a space, carriage return or line feed follows it (or ends it).
struct TFindMarker {
  std::string_view Text;
  bool BlankAfter = false;
};

class TBufStream {
 public:
  static constexpr std::int32_t kBufferSize = 8192;
  static constexpr std::int32_t kLookBehind = 256;
  static constexpr std::int32_t kMaxWordLength = 255;

  // A reader over source (not owned; it must outlive the reader) with the
  // given word delimiters and no tag settings. The range is the whole
  // source, the position 0.
  TBufStream(TSynchroStream* source, const CharSet& delimiters);
  ~TBufStream();
  TBufStream(const TBufStream&) = delete;
  TBufStream& operator=(const TBufStream&) = delete;

  // Takes the tag characters and the part-of-speech tag settings from the
  // configuration. Without this call the reader knows no tags at all. Drops
  // the type map; the tag state is kept.
  void ApplySettings(const ConcordConfig& config);
  // Replaces the word delimiters when they differ (and then drops the type map).
  void SetDelimiters(const CharSet& delimiters);
  const CharSet& Delimiters() const { return delimiters_; }

  // Restricts reading to [start, end): seeks to start, drops the type map and
  // leaves any tag. A negative start counts as 0, an end before start as start.
  void SetRange(std::int32_t start, std::int32_t end);
  std::int32_t RangeStart() const { return rangeStart_; }
  std::int32_t RangeEnd() const { return rangeEnd_; }

  // Offset of the next character; -1 after a seek to a negative offset.
  std::int32_t Position() const { return none_ ? -1 : bufferOffset_ + pos_; }
  // Seeks. A negative offset makes every read return 0 until the next seek;
  // an offset beyond the range end makes them return 0 until a seek back into
  // the range. Seeking inside the buffer costs nothing; elsewhere the buffer
  // is refilled to start 256 bytes before the offset.
  void SetPosition(std::int32_t offset);
  // The source's size (it may still grow while a download runs).
  std::int32_t Size() const;

  // Makes n bytes from the position readable and contiguous in the buffer
  // (n at most 8,192). False when the range or the data ends first; the
  // position never moves.
  bool EnsureAvailable(std::int32_t n);

  // The next character, advancing; 0 at the end of the range or the data.
  unsigned char ReadChar();
  // The character before the position, moving back onto it; 0 (without
  // moving) at the range start.
  unsigned char ReadCharBack();
  // ReadChar with the character's class. Without a type map the class comes
  // from the tag state and the tables; with one, from the map. At the end the
  // result is 0 with ctDelimiter, and a zero byte reads the same way.
  unsigned char ReadCharTyped(TCharType& type);
  // ReadCharBack with the class from the type map. Without a map: 0 and
  // ctNone; at the range start: 0 and ctDelimiter.
  unsigned char ReadCharBackTyped(TCharType& type);

  // Leaves any tag or part-of-speech tag.
  void ClearTagState();
  // Enters a tag for ctTag, a part-of-speech tag for ctWordTag (when the
  // settings have such tags), and leaves both for any other class.
  void SetTagState(TCharType type);

  // Sets the range [start, end), with end cut to start + 8,192, makes it
  // readable in the buffer and classifies it into the type map as forward
  // reading from outside any tag would. The position is at start. Throws
  // Exception "Internal error:\rValidateBuffer failed" (after dropping the map)
  // when the range cannot be read.
  void ValidateBuffer(std::int32_t start, std::int32_t end);
  bool HasTypeMap() const { return mapped_; }

  // The next word: skips to the next ctWord character and reads the run of
  // them, consuming the character that ends it. At most 255 characters are
  // returned; WordStart and WordEnd cover the whole run. Empty at the end.
  std::string ReadWord();
  // The word before the position, read backwards on the type map (empty
  // without one). The first 255 characters of a longer word are returned;
  // WordStart and WordEnd cover it all. The position ends on the character
  // before the word, or at the range start.
  std::string ReadWordBack();
  std::int32_t WordStart() const { return wordStart_; }
  std::int32_t WordEnd() const { return wordEnd_; }

  // Searches forward from the position, within the range, for s (bytes,
  // case-sensitive). With blankAfter an occurrence counts only when s ends
  // with, or is followed by, a space, carriage return or line feed; a failed
  // occurrence does not hide one that begins at its next byte. On success the
  // position moves to the occurrence and its offset is returned; otherwise -1
  // (also for an empty s, and when the callback stops the search).
  std::int32_t FindString(std::string_view s, bool blankAfter, const TFindCallback& callback = {},
                          bool noPosition = false);

  // Looks at once for a start marker m1, an end marker m2 after it and a
  // next marker m3, from the position within the range. d is the first m1,
  // e the first m2 that begins at or after the end of that m1, r the first
  // m3. When d and e exist and r does not come before e, p1 = d, p2 = e,
  // p3 = r; otherwise, when r exists, p3 = r; the others stay -1. The
  // result is r, or -1 when there is no r, when a marker is empty or the
  // callback stops the search (p1 to p3 are then -1). The position is left
  // inside the stretch searched.
  std::int32_t FindFirstOf(const TFindMarker& m1, const TFindMarker& m2, const TFindMarker& m3,
                           std::int32_t& p1, std::int32_t& p2, std::int32_t& p3,
                           const TFindCallback& callback = {}, bool noPosition = false);

  // The length of the first part-of-speech tag start string (in list order)
  // that stands in full at the position, 0 when none does. The position does
  // not move. A match is remembered as MatchedStartLength.
  std::int32_t MatchWordTagStart();
  // The length of the start string of the last match (0 before any).
  std::int32_t MatchedStartLength() const { return matchedStartLength_; }

 private:
  // The tag states of the forward classifier.
  enum : std::uint8_t { kOutside, kInTag, kInWordTag, kInStartString, kStateCount };
  // A table entry: bits 0-2 the class, bits 3-4 the next state, bits 5-6 the
  // detour a byte needs (none, line feed, possible start of a start string,
  // rest of a start string).
  static constexpr std::uint8_t kTypeBits = 0x07;
  static constexpr int kStateShift = 3;
  static constexpr std::uint8_t kStateBits = 0x03;
  static constexpr std::uint8_t kSpecialBits = 0x60;
  static constexpr std::uint8_t kLineFeed = 0x20;
  static constexpr std::uint8_t kStartCandidate = 0x40;
  static constexpr std::uint8_t kStartRest = 0x60;

  void BuildClassTables();
  void ClassifySpecial(unsigned char c, std::uint8_t entry, TCharType& type);
  unsigned char PreviousByte() const;
  unsigned char ReadCharSlow();
  unsigned char ReadCharTypedSlow(TCharType& type);
  unsigned char ReadCharBackSlow();
  TCharType MapType(std::int32_t offset) const;
  void DropTypeMap();
  void UpdateLimit();
  void Shift(std::int32_t n);
  std::int32_t FillMore();
  // Index in [0, window) of the first acceptable occurrence of s whose bytes
  // (and follower, when needed) lie inside the window, or -1.
  static std::int32_t FindIn(const unsigned char* window, std::int32_t length, std::string_view s,
                             bool followerNeeded);
  bool Stopped(const TFindCallback& callback, bool noPosition);

  TSynchroStream* source_;
  std::int32_t sourcePosition_ = 0;
  std::int32_t rangeStart_ = 0;
  std::int32_t rangeEnd_ = 0;

  // The window: fill_ bytes from bufferOffset_, a zero byte after them.
  std::array<unsigned char, kBufferSize + 1> buffer_{};
  std::int32_t bufferOffset_ = 0;
  std::int32_t fill_ = 0;
  std::int32_t pos_ = 0;         // index of the next character
  std::int32_t limit_ = 0;       // end of the readable bytes (data or range end)
  std::int32_t typedLimit_ = 0;  // limit_ for the table-driven path, 0 while a map is in use
  bool none_ = false;            // set by a seek to a negative offset
  bool shortRead_ = false;       // the last fill brought fewer bytes than asked
  unsigned char prevByte_ = 0;   // the byte before buffer_[0] when known, else 0

  // Tag settings.
  bool hasTags_ = false;
  unsigned char tagStart_ = 0;
  CharSet tagEndSet_;
  std::uint8_t wordTag_ = 0;  // 0 none, 1 after a delimiter character, 2 start strings
  unsigned char wTagDelimiter_ = 0;
  std::vector<std::string> wTagStarts_;
  CharSet startFirstChars_;
  CharSet wTagEndSet_;
  CharSet delimiters_;

  // Classification.
  std::array<std::array<std::uint8_t, 256>, kStateCount> classes_{};
  std::array<std::uint8_t, 256> outsideWithoutStarts_{};
  std::uint8_t state_ = kOutside;
  std::int32_t startRemaining_ = 0;
  std::int32_t matchedStartLength_ = 0;

  std::vector<TCharType> typeMap_;  // one entry per byte of the range, plus one
  bool mapped_ = false;

  std::int32_t wordStart_ = 0;
  std::int32_t wordEnd_ = 0;
};

// --- The hot path ------------------------------------------------------------

inline unsigned char TBufStream::ReadChar() {
  if (pos_ < limit_) [[likely]]
    return buffer_[pos_++];
  return ReadCharSlow();
}

inline unsigned char TBufStream::ReadCharTyped(TCharType& type) {
  if (pos_ < typedLimit_) [[likely]] {
    const unsigned char c = buffer_[pos_++];
    // Branching on the state (almost always "outside") keeps the table
    // lookup of one byte independent of the lookup of the byte before.
    std::uint8_t entry;
    if (state_ == kOutside) [[likely]]
      entry = classes_[kOutside][c];
    else
      entry = classes_[state_][c];
    type = static_cast<TCharType>(entry & kTypeBits);
    state_ = (entry >> kStateShift) & kStateBits;
    if (entry & kSpecialBits) [[unlikely]]
      ClassifySpecial(c, entry, type);
    return c;
  }
  return ReadCharTypedSlow(type);
}

inline unsigned char TBufStream::ReadCharBack() {
  if (pos_ > 0 && pos_ <= limit_ && bufferOffset_ + pos_ > rangeStart_) [[likely]]
    return buffer_[--pos_];
  return ReadCharBackSlow();
}

}  // namespace korvane
