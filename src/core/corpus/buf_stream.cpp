// TBufStream: window management (seeks, fills, shifts), the classification
// tables and their detours, the type map, words and string searches. The
// per-byte fast paths are inline in the header.
#include "corpus/buf_stream.h"

#include <algorithm>
#include <cstring>

#include "app/errors.h"
#include "corpus/synchro_stream.h"

namespace korvane {

namespace {

constexpr bool IsBlank(unsigned char c) { return c == ' ' || c == '\r' || c == '\n'; }

// The characters that end a tag whose stop character is c: "#" stands for a
// space, carriage return or line feed.
CharSet EndSet(char c) {
  CharSet set;
  if (c == '#') {
    set.set(' ');
    set.set('\r');
    set.set('\n');
  } else {
    set.set(static_cast<unsigned char>(c));
  }
  return set;
}

std::string ValidateBufferFailedMessage() { return "Internal error:\rValidateBuffer failed"; }

}  // namespace

TBufStream::TBufStream(TSynchroStream* source, const CharSet& delimiters)
    : source_(source), delimiters_(delimiters) {
  BuildClassTables();
  rangeEnd_ = std::max<std::int32_t>(source_->GetSize(), 0);
  SetPosition(0);
}

TBufStream::~TBufStream() = default;

std::int32_t TBufStream::Size() const { return source_->GetSize(); }

// --- Settings and tables ------------------------------------------------------

void TBufStream::ApplySettings(const ConcordConfig& config) {
  hasTags_ = true;
  tagStart_ = static_cast<unsigned char>(config.TagStart);
  tagEndSet_ = EndSet(config.TagStop);
  wordTag_ = config.WordTag <= 2 ? config.WordTag : 0;
  wTagDelimiter_ = static_cast<unsigned char>(config.wTagDelimiter);
  wTagEndSet_ = EndSet(config.wTagStop);
  wTagStarts_.clear();
  startFirstChars_.reset();
  for (const std::string& start : config.wTagStarts) {
    if (start.empty()) continue;  // an empty start would begin a tag everywhere
    wTagStarts_.push_back(start);
    startFirstChars_.set(static_cast<unsigned char>(start[0]));
  }
  if (state_ == kInStartString) state_ = kInWordTag;
  BuildClassTables();
  DropTypeMap();
}

void TBufStream::SetDelimiters(const CharSet& delimiters) {
  if (delimiters == delimiters_) return;
  delimiters_ = delimiters;
  BuildClassTables();
  DropTypeMap();
}

void TBufStream::BuildClassTables() {
  auto entry = [](TCharType type, std::uint8_t next, std::uint8_t special = 0) {
    return static_cast<std::uint8_t>(type | (next << kStateShift) | special);
  };
  // A delimiter's line-break type; a line feed is resolved against the byte
  // before it when read.
  auto lineBreak = [&](int c, std::uint8_t next) {
    if (c == '\n') return entry(ctNewLine, next, kLineFeed);
    if (c == '\r') return entry(ctNewLine, next);
    if (c == ' ') return entry(ctWhiteSpace, next);
    return entry(ctDelimiter, next);
  };

  for (int c = 0; c < 256; ++c) {
    if (c == 0) {
      // A zero byte reads like the end of the text, in every state.
      for (std::uint8_t s = 0; s < kStateCount; ++s) classes_[s][0] = entry(ctDelimiter, s);
      outsideWithoutStarts_[0] = entry(ctDelimiter, kOutside);
      continue;
    }
    std::uint8_t outside;
    if (wordTag_ == 1 && c == wTagDelimiter_) outside = entry(ctWordTag, kInWordTag);
    else if (hasTags_ && c == tagStart_) outside = entry(ctTag, kInTag);
    else if (delimiters_.test(c)) outside = lineBreak(c, kOutside);
    else outside = entry(ctWord, kOutside);
    outsideWithoutStarts_[c] = outside;
    classes_[kOutside][c] =
        wordTag_ == 2 && startFirstChars_.test(c) ? entry(ctWordTag, kOutside, kStartCandidate) : outside;

    classes_[kInTag][c] = entry(ctTag, tagEndSet_.test(c) ? kOutside : kInTag);

    if (wordTag_ == 1)
      classes_[kInWordTag][c] = delimiters_.test(c) ? lineBreak(c, kOutside) : entry(ctWordTag, kInWordTag);
    else
      classes_[kInWordTag][c] = entry(ctWordTag, wTagEndSet_.test(c) ? kOutside : kInWordTag);

    classes_[kInStartString][c] = entry(ctWordTag, kInStartString, kStartRest);
  }
}

unsigned char TBufStream::PreviousByte() const {
  // The byte just read is buffer_[pos_ - 1].
  return pos_ >= 2 ? buffer_[pos_ - 2] : prevByte_;
}

void TBufStream::ClassifySpecial(unsigned char c, std::uint8_t entry, TCharType& type) {
  switch (entry & kSpecialBits) {
    case kLineFeed:
      if (PreviousByte() == '\r') type = ctWhiteSpace;
      return;
    case kStartRest:
      if (--startRemaining_ <= 0) state_ = kInWordTag;
      return;
    case kStartCandidate: {
      --pos_;  // MatchWordTagStart looks at the character just read
      const std::int32_t length = MatchWordTagStart();
      ++pos_;
      if (length > 0) {
        type = ctWordTag;
        // The start string belongs to the tag as a whole: an end character
        // inside it does not end the tag.
        startRemaining_ = length - 1;
        state_ = length > 1 ? kInStartString : kInWordTag;
        return;
      }
      const std::uint8_t plain = outsideWithoutStarts_[c];
      type = static_cast<TCharType>(plain & kTypeBits);
      state_ = (plain >> kStateShift) & kStateBits;
      if ((plain & kSpecialBits) == kLineFeed && PreviousByte() == '\r') type = ctWhiteSpace;
      return;
    }
    default:
      return;
  }
}

void TBufStream::ClearTagState() { state_ = kOutside; }

void TBufStream::SetTagState(TCharType type) {
  if (type == ctTag && hasTags_) state_ = kInTag;
  else if (type == ctWordTag && wordTag_ != 0) state_ = kInWordTag;
  else state_ = kOutside;
}

std::int32_t TBufStream::MatchWordTagStart() {
  if (wordTag_ != 2 || wTagStarts_.empty() || none_) return 0;
  if (pos_ >= limit_ && !EnsureAvailable(1)) return 0;
  const unsigned char first = buffer_[pos_];
  if (!startFirstChars_.test(first)) return 0;
  for (const std::string& start : wTagStarts_) {
    if (static_cast<unsigned char>(start[0]) != first) continue;
    const auto length = static_cast<std::int32_t>(start.size());
    if (!EnsureAvailable(length)) continue;
    if (std::memcmp(buffer_.data() + pos_, start.data(), start.size()) == 0) {
      matchedStartLength_ = length;
      return length;
    }
  }
  return 0;
}

// --- The window ---------------------------------------------------------------

void TBufStream::SetRange(std::int32_t start, std::int32_t end) {
  rangeStart_ = std::max<std::int32_t>(start, 0);
  rangeEnd_ = std::max(end, rangeStart_);
  DropTypeMap();
  state_ = kOutside;
  SetPosition(rangeStart_);
}

void TBufStream::UpdateLimit() {
  if (none_) {
    pos_ = limit_ = typedLimit_ = 0;
    return;
  }
  const std::int64_t rangeLeft = std::int64_t{rangeEnd_} - bufferOffset_;
  limit_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(rangeLeft, 0, fill_));
  typedLimit_ = mapped_ ? 0 : limit_;
}

void TBufStream::SetPosition(std::int32_t offset) {
  if (offset < 0) {
    // The buffer keeps its bytes and offset, so that a later seek into it is
    // still served correctly.
    none_ = true;
    UpdateLimit();
    return;
  }
  none_ = false;
  if (offset > rangeEnd_) {
    bufferOffset_ = offset;
    fill_ = pos_ = 0;
    shortRead_ = false;
    prevByte_ = 0;
    buffer_[0] = 0;
    UpdateLimit();
    return;
  }
  const std::int64_t index = std::int64_t{offset} - bufferOffset_;
  if (index >= 0 && index < fill_) {
    pos_ = static_cast<std::int32_t>(index);
    UpdateLimit();
    return;
  }
  bufferOffset_ = std::max(offset - kLookBehind, 0);
  fill_ = 0;
  prevByte_ = 0;
  pos_ = offset - bufferOffset_;
  FillMore();
  UpdateLimit();
}

std::int32_t TBufStream::FillMore() {
  const std::int64_t dataEnd = std::int64_t{bufferOffset_} + fill_;
  const std::int64_t want = std::min<std::int64_t>(kBufferSize - fill_, std::int64_t{rangeEnd_} - dataEnd);
  std::int32_t got = 0;
  if (want > 0) {
    sourcePosition_ = static_cast<std::int32_t>(dataEnd);
    got = std::max<std::int32_t>(
        source_->ReadAt(buffer_.data() + fill_, static_cast<std::int32_t>(want), sourcePosition_), 0);
    shortRead_ = got < want;
    fill_ += got;
  }
  buffer_[fill_] = 0;
  return got;
}

void TBufStream::Shift(std::int32_t n) {
  // Keep up to 256 bytes behind the position, fewer when n bytes would not
  // fit after them.
  const std::int32_t keep = std::min({kLookBehind, pos_, kBufferSize - n});
  const std::int32_t from = pos_ - keep;
  if (from <= 0) return;
  const std::int32_t kept = std::max(fill_ - from, 0);
  prevByte_ = from <= fill_ ? buffer_[from - 1] : 0;
  if (kept > 0) std::memmove(buffer_.data(), buffer_.data() + from, static_cast<std::size_t>(kept));
  bufferOffset_ += from;
  fill_ = kept;
  pos_ -= from;
  buffer_[fill_] = 0;
}

bool TBufStream::EnsureAvailable(std::int32_t n) {
  if (none_) return false;
  if (n <= 0) return true;
  if (std::int64_t{Position()} + n > rangeEnd_) return false;
  if (limit_ - pos_ >= n) return true;
  if (n > kBufferSize) return false;
  if (shortRead_ && std::int64_t{source_->GetSize()} == std::int64_t{bufferOffset_} + fill_) return false;
  // Shift only when n bytes do not fit after the position; otherwise the
  // buffer has room and a fill is enough (a download may bring bytes in
  // small pieces).
  if (pos_ + n > kBufferSize) Shift(n);
  UpdateLimit();
  while (limit_ - pos_ < n && FillMore() > 0) UpdateLimit();
  UpdateLimit();
  return limit_ - pos_ >= n;
}

// --- Reading --------------------------------------------------------------------

unsigned char TBufStream::ReadCharSlow() {
  if (!EnsureAvailable(1)) return 0;
  return buffer_[pos_++];
}

unsigned char TBufStream::ReadCharTypedSlow(TCharType& type) {
  if (mapped_) {
    const std::int32_t before = Position();
    const unsigned char c = ReadChar();
    type = Position() == before ? ctDelimiter : MapType(before);
    return c;
  }
  if (!EnsureAvailable(1)) {
    type = ctDelimiter;
    return 0;
  }
  return ReadCharTyped(type);
}

unsigned char TBufStream::ReadCharBackSlow() {
  if (none_) return 0;
  const std::int32_t p = Position();
  if (p <= rangeStart_) return 0;
  SetPosition(p - 1);
  const unsigned char c = ReadChar();
  SetPosition(p - 1);
  return c;
}

unsigned char TBufStream::ReadCharBackTyped(TCharType& type) {
  if (!mapped_) {
    type = ctNone;
    return 0;
  }
  const std::int32_t before = Position();
  const unsigned char c = ReadCharBack();
  type = Position() == before ? ctDelimiter : MapType(Position());
  return c;
}

// --- The type map -------------------------------------------------------------

TCharType TBufStream::MapType(std::int32_t offset) const {
  const std::int64_t index = std::int64_t{offset} - rangeStart_;
  return index >= 0 && index < static_cast<std::int64_t>(typeMap_.size()) ? typeMap_[index] : ctNone;
}

void TBufStream::DropTypeMap() {
  mapped_ = false;
  typeMap_.clear();
  UpdateLimit();
}

void TBufStream::ValidateBuffer(std::int32_t start, std::int32_t end) {
  start = std::max<std::int32_t>(start, 0);
  end = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(end, start, std::int64_t{start} + kBufferSize));
  const std::int32_t length = end - start;
  SetRange(start, end);
  if (!EnsureAvailable(length)) {
    DropTypeMap();
    throw Exception(ValidateBufferFailedMessage());
  }
  // The whole range now lies in the buffer, so classifying it never moves
  // the window.
  typeMap_.reserve(kBufferSize + 1);
  typeMap_.resize(static_cast<std::size_t>(length) + 1);
  for (std::int32_t i = 0; i < length; ++i) ReadCharTyped(typeMap_[i]);
  typeMap_[length] = ctDelimiter;
  state_ = kOutside;
  mapped_ = true;
  SetPosition(start);
}

// --- Words ----------------------------------------------------------------------

std::string TBufStream::ReadWord() {
  char word[kMaxWordLength];
  std::int32_t length = 0;
  TCharType type = ctNone;
  std::int32_t offset = Position();
  unsigned char c = ReadCharTyped(type);
  while (c != 0 && type != ctWord) {
    offset = Position();
    c = ReadCharTyped(type);
  }
  wordStart_ = offset;
  while (c != 0 && type == ctWord) {
    if (length < kMaxWordLength) word[length++] = static_cast<char>(c);
    offset = Position();
    c = ReadCharTyped(type);
  }
  wordEnd_ = offset;
  return std::string(word, static_cast<std::size_t>(length));
}

std::string TBufStream::ReadWordBack() {
  wordStart_ = wordEnd_ = Position();
  if (!mapped_) return {};
  TCharType type = ctNone;
  std::int32_t before = Position();
  unsigned char c = ReadCharBackTyped(type);
  while (c != 0 && type != ctWord) {
    before = Position();
    c = ReadCharBackTyped(type);
  }
  if (c == 0) {
    wordStart_ = wordEnd_ = Position();
    return {};
  }
  wordEnd_ = before;
  // Read backwards, the word's first characters come last: a ring of 255
  // keeps the last 255 read.
  char ring[kMaxWordLength];
  std::int32_t count = 0;
  while (c != 0 && type == ctWord) {
    ring[count % kMaxWordLength] = static_cast<char>(c);
    ++count;
    before = Position();
    c = ReadCharBackTyped(type);
  }
  wordStart_ = before;
  const std::int32_t length = std::min(count, kMaxWordLength);
  std::string word(static_cast<std::size_t>(length), '\0');
  for (std::int32_t j = 0; j < length; ++j) word[j] = ring[(count - 1 - j) % kMaxWordLength];
  return word;
}

// --- String search --------------------------------------------------------------

std::int32_t TBufStream::FindIn(const unsigned char* window, std::int32_t length, std::string_view s,
                                bool followerNeeded) {
  const std::string_view text(reinterpret_cast<const char*>(window), static_cast<std::size_t>(length));
  const std::size_t need = s.size() + (followerNeeded ? 1 : 0);
  for (std::size_t at = text.find(s); at != std::string_view::npos; at = text.find(s, at + 1)) {
    if (at + need > text.size()) return -1;  // the follower is not in the window yet
    if (!followerNeeded || IsBlank(window[at + s.size()])) return static_cast<std::int32_t>(at);
  }
  return -1;
}

bool TBufStream::Stopped(const TFindCallback& callback, bool noPosition) {
  if (!callback) return false;
  bool stop = false;
  callback(*this, noPosition ? -1 : Position(), stop);
  return stop;
}

std::int32_t TBufStream::FindString(std::string_view s, bool blankAfter, const TFindCallback& callback,
                                    bool noPosition) {
  if (s.empty() || none_) return -1;
  const bool followerNeeded = blankAfter && !IsBlank(static_cast<unsigned char>(s.back()));
  const auto need = static_cast<std::int64_t>(s.size()) + (followerNeeded ? 1 : 0);
  if (need > kBufferSize) return -1;
  const auto n = static_cast<std::int32_t>(need);
  for (;;) {
    if (!EnsureAvailable(n)) return -1;
    if (Stopped(callback, noPosition)) return -1;
    const std::int32_t at = FindIn(buffer_.data() + pos_, limit_ - pos_, s, followerNeeded);
    if (at >= 0) {
      pos_ += at;
      return Position();
    }
    // Carry over the bytes where an occurrence may begin but not yet end.
    pos_ = limit_ - (n - 1);
  }
}

std::int32_t TBufStream::FindFirstOf(const TFindMarker& m1, const TFindMarker& m2, const TFindMarker& m3,
                                     std::int32_t& p1, std::int32_t& p2, std::int32_t& p3,
                                     const TFindCallback& callback, bool noPosition) {
  p1 = p2 = p3 = -1;
  if (none_ || m1.Text.empty() || m2.Text.empty() || m3.Text.empty()) return -1;

  struct Search {
    std::string_view text;
    bool followerNeeded;
    std::int32_t need;
    std::int64_t next;  // the first offset where an occurrence may still begin
    std::int64_t found = -1;
    bool exhausted = false;
  };
  const std::int64_t start = Position();
  Search searches[3];
  const TFindMarker* markers[3] = {&m1, &m2, &m3};
  for (int k = 0; k < 3; ++k) {
    const TFindMarker& m = *markers[k];
    const bool follower = m.BlankAfter && !IsBlank(static_cast<unsigned char>(m.Text.back()));
    const std::int64_t need = static_cast<std::int64_t>(m.Text.size()) + (follower ? 1 : 0);
    if (need > kBufferSize) return -1;
    searches[k] = {m.Text, follower, static_cast<std::int32_t>(need), start};
  }
  Search& d = searches[0];
  Search& e = searches[1];
  Search& r = searches[2];

  // d is looked for until found; e only after d and only where it could
  // still come before r; r until found.
  auto live = [&](int k) {
    const Search& s = searches[k];
    if (s.found >= 0 || s.exhausted) return false;
    if (k == 1 && d.found < 0) return false;
    if (k < 2 && r.found >= 0 && s.next > r.found) return false;
    return true;
  };

  for (;;) {
    std::int64_t cursor = -1;
    std::int32_t maxNeed = 0;
    for (int k = 0; k < 3; ++k) {
      if (!live(k)) continue;
      if (cursor < 0 || searches[k].next < cursor) cursor = searches[k].next;
      maxNeed = std::max(maxNeed, searches[k].need);
    }
    if (cursor < 0) break;

    SetPosition(static_cast<std::int32_t>(cursor));
    const std::int64_t rangeLeft = std::int64_t{rangeEnd_} - cursor;
    const bool more = rangeLeft > maxNeed;
    const bool available = EnsureAvailable(static_cast<std::int32_t>(std::min<std::int64_t>(maxNeed, rangeLeft)));
    // Without room for the longest marker, this window holds all that is left.
    const bool last = !available || !more;
    if (Stopped(callback, noPosition)) return -1;

    const std::int64_t windowStart = Position();
    const std::int64_t windowEnd = windowStart + (limit_ - pos_);
    for (int k = 0; k < 3; ++k) {
      if (!live(k)) continue;
      Search& s = searches[k];
      const std::int64_t from = std::max(s.next, windowStart);
      const std::int32_t at =
          from >= windowEnd
              ? -1
              : FindIn(buffer_.data() + pos_ + (from - windowStart), static_cast<std::int32_t>(windowEnd - from),
                       s.text, s.followerNeeded);
      if (at >= 0) {
        s.found = from + at;
        if (k == 0) e.next = s.found + static_cast<std::int64_t>(s.text.size());
      } else if (last) {
        s.exhausted = true;
      } else {
        s.next = std::max(s.next, windowEnd - (s.need - 1));
      }
    }
  }

  if (d.found >= 0 && e.found >= 0 && (r.found < 0 || r.found >= e.found)) {
    p1 = static_cast<std::int32_t>(d.found);
    p2 = static_cast<std::int32_t>(e.found);
  }
  p3 = static_cast<std::int32_t>(r.found);
  return p3;
}

}  // namespace korvane
