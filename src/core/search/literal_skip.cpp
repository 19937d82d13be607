// The skip-ahead of a text pattern whose first word begins with plain
// characters ("captain", "colo%r", "made @ mind").
//
// Such a pattern can only match at a token that begins with those characters
// (case-folded as the search requires), so instead of trying every token the
// scan looks for the next place where the prefix stands at a token start and
// tries the pattern there. A failed attempt restarts after its first token as
// always, and the skip-ahead goes on from there, so the matches are exactly
// those of trying every token. A zero byte stops it as it stops the token
// reader. The skipping characters and equal groups, which let other bytes
// stand for the prefix, rule the skip-ahead out (PrepareLiteralPrefix).
//
// Two ways of reading ahead: in large chunks straight from the source (the
// bytes are only looked up in a table, so this runs at memory speed), or,
// when the context has no source or the source is still growing, byte by
// byte through the reader.
#include <algorithm>

#include "corpus/synchro_stream.h"
#include "search/scan_control.h"
#include "search/search_context.h"

namespace korvane {
namespace {

// How many tokens the byte-by-byte skip passes between two cancel polls and
// progress reports (the chunked skip polls once per chunk).
constexpr std::uint32_t kSkipPollTokens = 1024;
// The speed display counts words tried. The chunked skip does not split the
// bytes it passes into words, so it counts one word for this many bytes.
constexpr std::int32_t kBytesPerWordEstimate = 6;

}  // namespace

void TSearchContext::PrepareLiteralPrefix() {
  literalPrefix_.clear();
  if (!Rules.AllowLiteralSkip || Mode != smText || Terms.empty() || Terms[0].Kind != tkWord ||
      SkipSet.any() || Rules.Tables.HasEqualGroups())
    return;
  const TMatchTables& t = Rules.Tables;
  for (unsigned char c : Terms[0].Text) {
    if (c == t.Star || c == t.Percent || c == t.Question || t.IsDelimiter(c)) break;
    literalPrefix_.push_back(static_cast<char>(c));
  }
  if (literalPrefix_.empty()) return;
  const LowerCaseTable& fold = Rules.FoldTable();
  skipClass_.fill(0);
  skipClass_[0] = kRangeEnd;
  for (int c = 1; c < 256; ++c) {
    if (t.IsDelimiter(static_cast<unsigned char>(c)))
      skipClass_[c] = TMatchTables::kDelimiter;
    else if (fold[c] == static_cast<unsigned char>(literalPrefix_[0]))
      skipClass_[c] = kPrefixStart;
  }
}

void TSearchContext::Attach(TBufStream& reader, TSynchroStream* source) {
  Reader = &reader;
  Source = source;
  chunkLength_ = 0;
}

bool TSearchContext::SkipToLiteralPrefix() { return Source ? SkipInChunks() : SkipByteByByte(); }

bool TSearchContext::PrefixAt(const unsigned char* bytes) const {
  const unsigned char* fold = Rules.FoldTable().data();
  for (std::size_t k = 0; k < literalPrefix_.size(); ++k)
    if (fold[bytes[k]] != static_cast<unsigned char>(literalPrefix_[k])) return false;
  return true;
}

// Reads the range ahead of the reader's position in chunks from the source.
// A candidate must have the whole prefix inside the chunk; one too close to
// the chunk's end is looked at again at the start of the next chunk. The
// chunk is kept between calls: after a failed attempt the scan goes on just
// behind the candidate, usually inside the same chunk.
bool TSearchContext::SkipInChunks() {
  TBufStream& reader = *Reader;
  const std::uint8_t* cls = skipClass_.data();
  constexpr std::uint8_t delimiter = TMatchTables::kDelimiter;
  constexpr std::uint8_t stop = kPrefixStart | kRangeEnd;
  const auto length = static_cast<std::int32_t>(literalPrefix_.size());
  const std::int32_t chunkSize = std::max(Rules.SkipChunkSize, length + 1);
  const std::int32_t end = reader.RangeEnd();
  const std::int32_t attemptStart = reader.Position();
  if (chunk_.size() != static_cast<std::size_t>(chunkSize)) {
    chunk_.assign(static_cast<std::size_t>(chunkSize), 0);
    chunkLength_ = 0;
  }

  std::int32_t from = attemptStart;
  unsigned char before = 0;  // the byte before from, once from has moved on
  while (from < end) {
    const std::int32_t chunkEnd = chunkStart_ + chunkLength_;
    std::int32_t usable = std::min(chunkEnd, end) - from;
    bool final = chunkEnd >= end;
    if (from < chunkStart_ || usable <= 0 || (!final && usable < length)) {
      const std::int32_t want = std::min(chunkSize, end - from);
      std::int32_t at = from;
      chunkStart_ = from;
      chunkLength_ = std::max(Source->ReadAt(chunk_.data(), want, at), 0);
      if (chunkLength_ < want) {
        // A download still under way: the reader knows how to wait for it.
        chunkLength_ = 0;
        reader.SetPosition(attemptStart);
        return SkipByteByByte();
      }
      usable = chunkLength_;
      final = from + usable >= end;
    }
    const unsigned char* bytes = chunk_.data() + (from - chunkStart_);
    const std::int32_t last = final ? usable : usable - (length - 1);
    for (std::int32_t i = 0;; ++i) {
      while (i < last && !(cls[bytes[i]] & stop)) ++i;
      if (i >= last) break;
      if (cls[bytes[i]] & kRangeEnd) {
        reader.SetPosition(from + i);  // kept on the zero byte, as the token reader keeps it
        return false;
      }
      const bool boundary = i > 0 ? (cls[bytes[i - 1]] & delimiter) != 0
                                  : from == attemptStart || (cls[before] & delimiter) != 0;
      if (boundary && i + length <= usable && PrefixAt(bytes + i)) {
        control_->CountAttempts(static_cast<std::uint32_t>(i / kBytesPerWordEstimate));
        reader.SetPosition(from + i);
        return true;
      }
    }
    before = bytes[last - 1];
    from += last;
    control_->CountAttempts(static_cast<std::uint32_t>(last / kBytesPerWordEstimate));
    control_->ReportProgress(from, false);
    if (control_->PollCancel()) return false;
  }
  reader.SetPosition(end);
  return false;
}

// The same through the reader. Two tight loops take turns: one over the
// delimiters before a token, one over the rest of a token that cannot start
// a match.
bool TSearchContext::SkipByteByByte() {
  TBufStream& reader = *Reader;
  const std::uint8_t* cls = skipClass_.data();
  const unsigned char* fold = Rules.FoldTable().data();
  const auto* prefix = reinterpret_cast<const unsigned char*>(literalPrefix_.data());
  const std::size_t length = literalPrefix_.size();
  constexpr std::uint8_t delimiter = TMatchTables::kDelimiter;
  std::uint32_t tokens = 0;
  std::uint32_t budget = kSkipPollTokens;
  for (;;) {
    unsigned char c;
    while (cls[c = reader.ReadChar()] == delimiter) {
    }
    if (cls[c] & kRangeEnd) break;
    if (cls[c] & kPrefixStart) {
      const std::int32_t start = reader.Position() - 1;
      std::size_t k = 1;
      while (k < length && fold[c = reader.ReadChar()] == prefix[k]) ++k;
      if (k == length) {
        control_->CountAttempts(tokens);
        reader.SetPosition(start);
        return true;
      }
      if (cls[c] & kRangeEnd) break;
      if (cls[c] & delimiter) continue;
    }
    while (!(cls[c = reader.ReadChar()] & (delimiter | kRangeEnd))) {
    }
    if (cls[c] & kRangeEnd) break;
    ++tokens;
    if (--budget == 0) {
      budget = kSkipPollTokens;
      control_->CountAttempts(tokens);
      tokens = 0;
      control_->ReportProgress(reader.Position(), false);
      if (control_->PollCancel()) return false;
    }
  }
  control_->CountAttempts(tokens);
  HoldAtZero();
  return false;
}

}  // namespace korvane
