// Finding the next match of one compiled pattern in the reader's range.
//
// A match attempt reads the text token by token and tries the terms in
// order: a word term must match the next word, a word/tag pair (tag search)
// the next word and its tag, "@" skips a few words and "@@" any number. An
// attempt that fails restarts just after the first token (or first word and
// tag) it read, so every token is a possible start and matches of one pattern
// never overlap. A token is at most 255 characters; longer ones are read to
// their end and cut.
//
// When the first word of a text pattern begins with plain characters, a
// token that does not begin with them cannot start a match; the scan then
// skips ahead to the next token that does (literal_skip.cpp) instead of
// trying every token, which gives the same matches.
//
// A zero byte inside a text reads like the end of the range: the reader is
// kept on it, so nothing after it is found in this region.
#include <cstring>

#include "app/errors.h"
#include "search/scan_control.h"
#include "search/search_context.h"

namespace korvane {
namespace {

constexpr std::size_t kMaxToken = 255;

}  // namespace

bool TSearchContext::FindNext(TScanControl& control) {
  if (Mode == smRegex) return FindNextRegexMatch(*this, control);
  control_ = &control;
  TBufStream& reader = *Reader;
  HitStart = reader.Position();
  for (;;) {
    if (!literalPrefix_.empty()) {
      if (!SkipToLiteralPrefix()) return false;
      HitStart = reader.Position();
    }
    first_ = true;
    attemptStart_ = HitStart;
    lastTokenEmpty_ = true;
    control.CountAttempts(1);
    if (TryTerm(0)) break;
    if (control.Cancelled() || lastTokenEmpty_) return false;
    reader.SetPosition(attemptStart_);
    reader.ClearTagState();
    HitStart = attemptStart_;
    control.ReportProgress(HitStart, false);
  }
  HitEnd = reader.Position();
  control.ReportProgress(HitEnd, false);
  // A pattern of word-count wildcards alone reads nothing; an empty match
  // would be found again and again at the same place.
  return HitEnd > HitStart;
}

bool TSearchContext::TryTerm(int i) {
  if (control_->PollCancel() || i >= TermCount()) return false;
  const TTerm& term = Terms[i];
  switch (term.Kind) {
    case tkWord:
    case tkTag:
    case tkMetaTag: {
      bool matched;
      if (Mode == smTag) {
        matched = MatchPair(i);
        ++i;
      } else {
        matched = ReadToken() && MatchWordTerm(term);
      }
      first_ = false;
      if (!matched) return false;
      return i + 1 < TermCount() ? TryTerm(i + 1) : true;
    }
    case tkRegex:
      throw Exception(MisplacedCaseMessage());
    case tkSkipWords:
      return SkipWords(i);
    case tkSkipAnyWords:
      return SkipAnyWords(i);
  }
  return false;
}

bool TSearchContext::MatchWordTerm(const TTerm& term) const {
  return MatchWordPattern(Rules.Tables, std::string_view(WordBuffer, WordLength), term.Text);
}

// Terms i and i+1 are a word/tag pair, in the order the tags stand in.
bool TSearchContext::MatchPair(int i) {
  if (i + 1 >= TermCount()) return false;
  const TTerm& a = Terms[i];
  const TTerm& b = Terms[i + 1];
  const char any = Rules.WildCard0orMore;
  if (a.Kind != tkWord) {  // the tag stands before its word
    if (!ReadToken()) return false;
    if (TokenKind == ctWord) return a.AcceptsMissingTag(any) && MatchWordTerm(b);
    if (!MatchTag(std::string_view(WordBuffer, WordLength), a)) {
      SkipFollowing(ctWord);
      return false;
    }
    if (!ReadToken()) return false;
    if (TokenKind != ctWord) {
      GiveBackToken();
      return false;
    }
    return MatchWordTerm(b);
  }
  // The word comes first, its tag (if any) after it.
  if (!ReadToken() || TokenKind != ctWord) return false;
  if (!MatchWordTerm(a)) {
    SkipFollowing(ctWordTag);
    return false;
  }
  // A word at the end of the range stands without a tag, as one followed by
  // another word does.
  if (!ReadToken()) return b.AcceptsMissingTag(any);
  if (TokenKind != ctWordTag) {
    GiveBackToken();
    return b.AcceptsMissingTag(any);
  }
  return MatchTag(std::string_view(WordBuffer, WordLength), b);
}

// "@": MatchWordsLo words must follow; the rest of the pattern may start
// after any count from MatchWordsLo to MatchWordsHi.
bool TSearchContext::SkipWords(int i) {
  TBufStream& reader = *Reader;
  const int lo = Rules.MatchWordsLo;
  const int hi = Rules.MatchWordsHi;
  for (int n = 0; n < lo; ++n)
    if (!ReadWordUnit()) return false;
  if (i + 1 >= TermCount()) return true;
  for (int n = lo;; ++n) {
    const std::int32_t before = reader.Position();
    if (TryTerm(i + 1)) return true;
    if (n >= hi || control_->Cancelled()) return false;
    reader.SetPosition(before);
    reader.ClearTagState();
    if (!ReadWordUnit()) return false;
  }
}

// "@@": the rest of the pattern may start after any number of tokens.
bool TSearchContext::SkipAnyWords(int i) {
  TBufStream& reader = *Reader;
  if (i + 1 >= TermCount()) return true;
  for (;;) {
    const std::int32_t before = reader.Position();
    if (TryTerm(i + 1)) return true;
    if (control_->Cancelled()) return false;
    reader.SetPosition(before);
    reader.ClearTagState();
    if (!ReadToken()) return false;
  }
}

// One word skipped by "@". In tag search that is a word with the tag that
// belongs to it (before or after it, as the tags stand); stray tags without
// a word are passed over.
bool TSearchContext::ReadWordUnit() {
  if (Mode != smTag) return ReadToken();
  do {
    if (!ReadToken()) return false;
  } while (TokenKind != ctWord);
  if (!(Rules.WordTag != 1 && Rules.wTagBefore)) SkipFollowing(ctWordTag);
  return true;
}

// Reads the next token and keeps it when it is of the kind given, else
// gives it back.
void TSearchContext::SkipFollowing(TCharType kind) {
  if (ReadToken() && TokenKind != kind) GiveBackToken();
}

bool TSearchContext::ReadToken() {
  tokenStart_ = Reader->Position();
  attemptStartBefore_ = attemptStart_;
  const bool read = Mode == smTag ? ReadTagToken() : ReadTextToken();
  lastTokenEmpty_ = !read;
  if (read && first_) attemptStart_ = Reader->Position();
  return read;
}

void TSearchContext::GiveBackToken() {
  Reader->SetPosition(tokenStart_);
  Reader->ClearTagState();
  attemptStart_ = attemptStartBefore_;
}

// 0 is read at the end of the range and at a zero byte inside the text. The
// zero byte must end the region as the end does, so the reader is put back
// onto it and will read it again.
void TSearchContext::HoldAtZero() {
  TBufStream& reader = *Reader;
  if (reader.Position() > reader.RangeStart() && reader.ReadCharBack() != 0) reader.ReadChar();
}

// Text search: the token runs from the next byte outside DelimiterSet to the
// next one in it (consumed), folded as the search requires.
bool TSearchContext::ReadTextToken() {
  TBufStream& reader = *Reader;
  const std::uint8_t* cls = Rules.Tables.ByteClass.data();
  const unsigned char* fold = Rules.FoldTable().data();
  constexpr std::uint8_t delimiter = TMatchTables::kDelimiter;
  unsigned char c;
  do {
    c = reader.ReadChar();
  } while (c != 0 && (cls[c] & delimiter));
  WordLength = 0;
  if (c == 0) {
    HoldAtZero();
    return false;
  }
  std::size_t n = 0;
  do {
    if (n < kMaxToken) WordBuffer[n++] = static_cast<char>(fold[c]);
    c = reader.ReadChar();
  } while (!(cls[c] & delimiter));
  WordBuffer[n] = 0;
  WordLength = n;
  LastDelimiterConsumed = c != 0;
  if (c == 0) HoldAtZero();
  return true;
}

// Tag search: the token is a run of word characters or of tag characters, as
// the reader classifies them; the character after the run is given back.
bool TSearchContext::ReadTagToken() {
  TBufStream& reader = *Reader;
  TCharType type;
  unsigned char c;
  for (;;) {
    c = reader.ReadCharTyped(type);
    if (type == ctWord || type == ctWordTag) break;
    if (c == 0) {
      HoldAtZero();
      reader.ClearTagState();
      WordLength = 0;
      return false;
    }
  }
  TokenKind = type;
  std::size_t n = 0;
  bool cut = false;
  do {
    if (n < kMaxToken)
      WordBuffer[n++] = static_cast<char>(c);
    else
      cut = true;
    c = reader.ReadCharTyped(type);
  } while (type == TokenKind && c != 0);
  if (c == 0)
    HoldAtZero();
  else
    reader.ReadCharBack();
  reader.ClearTagState();
  WordLength = n;
  LastDelimiterConsumed = false;
  if (TokenKind == ctWordTag) TakeTagValue(cut);
  const unsigned char* fold = Rules.FoldTable().data();
  for (std::size_t k = 0; k < WordLength; ++k)
    WordBuffer[k] = static_cast<char>(fold[static_cast<unsigned char>(WordBuffer[k])]);
  WordBuffer[WordLength] = 0;
  return true;
}

// Cuts a part-of-speech tag token down to its value. Embedded tags
// ("dog_NN1") lose their delimiter. Tags outside words ("<w NN1>") lose
// their start string, the one separator that may follow it, and their
// closing character (unless the token was cut at 255 characters).
void TSearchContext::TakeTagValue(bool cut) {
  std::size_t from = 1;
  std::size_t to = WordLength;
  if (Rules.WordTag == 2) {
    const std::string_view token(WordBuffer, WordLength);
    from = 0;
    for (const std::string& start : Rules.wTagStarts)
      if (!start.empty() && token.substr(0, start.size()) == start) {
        from = start.size();
        break;
      }
    if (from < to && Rules.Tables.IsDelimiter(static_cast<unsigned char>(WordBuffer[from]))) ++from;
    if (!cut && to > from) --to;
  }
  if (from > to) from = to;
  std::memmove(WordBuffer, WordBuffer + from, to - from);
  WordLength = to - from;
}

}  // namespace korvane
