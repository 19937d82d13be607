// The sentence check and the recording of a hit, on the second reader.
#include "search/hit_recorder.h"

#include <algorithm>

#include "corpus/buf_stream.h"
#include "search/language.h"
#include "search/search_context.h"
#include "search/sentence_settings.h"

namespace korvane {
namespace {

// How far the reader looks back from a hit for the words before it, and on
// from it for the words after it; how much it classifies before the hit's
// end so that tags open there are known.
constexpr std::int32_t kWordsBefore = 255;
constexpr std::int32_t kWordsAfter = 255;
constexpr std::int32_t kTagLookBehind = 64;
constexpr int kSideWords = 4;
// A shortened regular-expression hit: its first and last characters.
constexpr std::int32_t kRegexHead = 27;
constexpr std::int32_t kRegexTail = 28;
constexpr std::size_t kLastWordLimit = 54;
constexpr const char* kEllipsis = " ... ";

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

void AppendCollapsed(std::string_view text, bool atStart, std::string& out) {
  for (std::size_t i = 0; i < text.size();) {
    if (!IsLineBreak(text[i])) {
      out.push_back(text[i++]);
      continue;
    }
    while (i < text.size() && IsLineBreak(text[i])) ++i;
    if (!(atStart && out.empty())) out.push_back(' ');
  }
}

std::string ReadBytes(TBufStream& reader, std::int32_t from, std::int32_t count) {
  std::string bytes;
  reader.SetPosition(from);
  for (std::int32_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(reader.ReadChar()));
  return bytes;
}

}  // namespace

std::int32_t HitWordsEnd(const TSearchContext& context) {
  if (context.Mode == smText && context.LastDelimiterConsumed) return context.HitEnd - 1;
  return context.HitEnd;
}

bool RunsAcrossSentenceEnd(TBufStream& reader, std::int32_t hitStart, std::int32_t hitEnd,
                           const SentenceSettings& sentences, const LanguageState& language) {
  const std::int32_t from = std::max(0, hitStart - kTagLookBehind);
  if (hitEnd - from >= kSentenceCheckLimit) return true;
  reader.ValidateBuffer(from, hitEnd);
  reader.SetPosition(hitStart);
  TCharType type = ctNone;
  unsigned char c = 0;
  do {
    if (reader.Position() >= hitEnd) return false;
    c = reader.ReadCharTyped(type);
  } while (type != ctWord);
  for (;;) {
    if (type != ctTag && type != ctWordTag && sentences.IsSentenceDelimiter(c)) {
      const std::int32_t at = reader.Position() - 1;
      // The word before the delimiter; the delimiter may be its last character.
      reader.SetPosition(type == ctWord ? at + 1 : at);
      std::string word = reader.ReadWordBack();
      if (word.empty() || static_cast<unsigned char>(word.back()) != c) word.push_back(static_cast<char>(c));
      if (!sentences.IsAbbreviation(word, language)) return true;
      reader.SetPosition(at + 1);
    }
    if (reader.Position() >= hitEnd) return false;
    c = reader.ReadCharTyped(type);
  }
}

std::unique_ptr<TConcordItem> MakeConcordItem(TBufStream& reader, const TSearchContext& context,
                                              std::int32_t textIndex, std::int32_t textSize) {
  // The true start: the first character of the hit's first word (or tag).
  reader.SetRange(context.HitStart, textSize);
  std::int32_t start = context.HitStart;
  if (context.Mode == smText) {
    unsigned char c;
    do {
      c = reader.ReadChar();
    } while (c != 0 && context.DelimiterSet.test(c));
    if (c != 0) start = reader.Position() - 1;
  } else if (context.Mode == smTag) {
    reader.ClearTagState();
    TCharType type;
    unsigned char c;
    do {
      c = reader.ReadCharTyped(type);
    } while (c != 0 && type != ctWord && type != ctWordTag);
    if (c != 0) start = reader.Position() - 1;
  }
  const std::int32_t end = std::max(start, HitWordsEnd(context));

  auto item = std::make_unique<TConcordItem>();
  item->TextIndex = textIndex;
  item->HitStart = start;
  item->HitEnd = end;

  // The words before the hit, nearest first (1L is slot pc1L, 4L slot pc4L).
  reader.ValidateBuffer(std::max(0, start - kWordsBefore), std::min(start + 1, textSize));
  reader.SetPosition(start);
  TCharType startType = ctNone;
  reader.ReadCharTyped(startType);
  reader.SetPosition(start);
  for (int k = 0; k < kSideWords; ++k) {
    std::string word = reader.ReadWordBack();
    if (word.empty()) break;
    const int slot = pc1L - k;
    item->Words[slot] = std::move(word);
    item->WordStart[slot] = reader.WordStart();
    item->WordEnd[slot] = reader.WordEnd();
  }

  // The hit's own text.
  if (context.Mode == smRegex) {
    const std::int32_t span = end - start;
    reader.SetRange(start, end);
    if (span > static_cast<std::int32_t>(kHitTextLimit))
      item->Words[pcSearchTerm] = RegexHitText(ReadBytes(reader, start, kRegexHead),
                                               ReadBytes(reader, end - kRegexTail, kRegexTail), true);
    else
      item->Words[pcSearchTerm] = RegexHitText(ReadBytes(reader, start, span), {}, false);
  } else {
    reader.SetRange(start, end);
    reader.SetTagState(startType);
    THitTextBuilder text;
    for (std::string word = reader.ReadWord(); !word.empty(); word = reader.ReadWord()) text.Add(word);
    item->Words[pcSearchTerm] = text.Text();
  }

  // The words after the hit.
  reader.ValidateBuffer(std::max(0, end - kTagLookBehind), std::min(end + kWordsAfter, textSize));
  reader.SetPosition(end);
  for (int k = 0; k < kSideWords; ++k) {
    std::string word = reader.ReadWord();
    if (word.empty()) break;
    const int slot = pc1R + k;
    item->Words[slot] = std::move(word);
    item->WordStart[slot] = reader.WordStart();
    item->WordEnd[slot] = reader.WordEnd();
  }
  return item;
}

void THitTextBuilder::Add(std::string_view word) {
  if (total_ > 0) {
    ++total_;
    if (head_.size() < kHitTextLimit) head_.push_back(' ');
  }
  total_ += word.size();
  const std::size_t room = kHitTextLimit - std::min(head_.size(), kHitTextLimit);
  head_.append(word.substr(0, room));
  last_.assign(word);
}

std::string THitTextBuilder::Text() const {
  if (total_ <= kHitTextLimit) return head_;
  if (last_.size() < kLastWordLimit) return head_.substr(0, kLastWordLimit - last_.size()) + kEllipsis + last_;
  return head_;
}

std::string RegexHitText(std::string_view head, std::string_view tail, bool shortened) {
  std::string text;
  AppendCollapsed(head, true, text);
  if (shortened) {
    text += kEllipsis;
    AppendCollapsed(tail, false, text);
  }
  return text;
}

}  // namespace korvane
