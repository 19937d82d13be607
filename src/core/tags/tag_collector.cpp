// The tag-information collection pass.
#include "tags/tag_collector.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/temp_file.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "frequency/word_count.h"
#include "tags/indexed_stream.h"

namespace korvane {

namespace {

constexpr std::size_t kMaxKeptWordLength = 255;
constexpr std::int32_t kMaxCocoaTagLength = 512;
constexpr std::size_t kMaxHashDelimiterLength = 254;

bool IsWhiteStop(unsigned char c) { return c == ' ' || c == '\r' || c == '\n'; }

// A table being built; unless finished, it deletes its file and empties its
// slot when it goes.
class TTableBuild {
 public:
  TTableBuild(TIndexSlot& slot, const char* prefix, std::int32_t width) : slot_(slot) {
    // A table built again replaces the old one, whose files go with it.
    slot_.Release();
    slot_.Name = TempFileName(prefix);
    table_ = TIndexedStream::Create(slot_.Name, width);
    table_->Fresh = true;
  }
  TTableBuild(const TTableBuild&) = delete;
  TTableBuild& operator=(const TTableBuild&) = delete;
  ~TTableBuild() {
    if (!table_) return;
    table_.reset();
    std::remove(CompanionFileName(slot_.Name).c_str());
    std::remove(slot_.Name.c_str());
    slot_.Index.reset();
    slot_.Name.clear();
  }
  TIndexedStream& Table() { return *table_; }
  void Finish() { slot_.Index = std::move(table_); }

 private:
  TIndexSlot& slot_;
  std::unique_ptr<TIndexedStream> table_;
};

// The word state machine: every character is classified once, in order.
// The classes come from tables computed once, and runs of characters that
// cannot change the state are skipped in tight loops: this pass reads every
// byte of every text on load.
class TWordCounter {
 public:
  TWordCounter(const ProgramState& state, THashStrings* table) : table_(table) {
    const ConcordConfig& config = state.ConcordConfig;
    CharSet separators = config.DelimiterSet();
    if (config.WordTag != 2) separators.reset(static_cast<unsigned char>(config.wTagDelimiter));
    const bool skipTags = state.FreqSettings.SkipTags;
    const bool posTags = skipTags && config.WordTag == 2;
    if (posTags)
      for (const std::string& start : config.wTagStarts)
        if (!start.empty()) posStarts_.push_back(start);
    const auto stops = [](char stop, unsigned char c) {
      return stop == '#' ? IsWhiteStop(c) : c == static_cast<unsigned char>(stop);
    };
    for (int i = 0; i < 256; ++i) {
      const auto c = static_cast<unsigned char>(i);
      std::uint8_t kind = 0;
      for (const std::string& start : posStarts_)
        if (static_cast<unsigned char>(start[0]) == c) kind |= kPosStart;
      if (skipTags && c == static_cast<unsigned char>(config.TagStart)) kind |= kTagStart;
      if (separators.test(c)) kind |= kSeparator;
      kinds_[c] = kind;
      tagStops_[c] = stops(config.TagStop, c);
      posStops_[c] = stops(config.wTagStop, c);
    }
  }

  // Classifies buffer[from, to); the bytes before from may be looked back on
  // and the bytes up to the buffer's end looked ahead on.
  void Classify(std::string_view buffer, std::size_t from, std::size_t to) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    std::size_t i = from;
    while (i < to) {
      // Inside a tag only its stop matters; inside a word or between words
      // only a character of another kind does.
      if (state_ == State::Tag || state_ == State::PosTag) {
        const bool* stops = state_ == State::Tag ? tagStops_.data() : posStops_.data();
        while (i < to && !stops[bytes[i]]) ++i;
        if (i == to) return;
        state_ = State::Separator;
        ++i;
        continue;
      }
      if (table_ == nullptr) {
        // Only counting: words and separators are tallied without branching
        // on them, up to the next character that may start a tag.
        std::int32_t inWord = state_ == State::Word ? 1 : 0;
        std::int32_t words = 0;
        for (; i < to; ++i) {
          const std::uint8_t kind = kinds_[bytes[i]];
          if ((kind & (kTagStart | kPosStart)) != 0) break;
          const std::int32_t word = kind == 0 ? 1 : 0;
          words += word & (inWord ^ 1);
          inWord = word;
        }
        Words += words;
        state_ = inWord != 0 ? State::Word : State::Separator;
      } else if (state_ == State::Separator) {
        while (i < to && kinds_[bytes[i]] == kSeparator) ++i;
      }
      if (i == to) return;
      const unsigned char c = bytes[i];
      const std::uint8_t kind = kinds_[c];
      if ((kind & kPosStart) != 0 && StartsPosTag(buffer.substr(i))) {
        EndWord(State::PosTag);
      } else if ((kind & kTagStart) != 0) {
        EndWord(State::Tag);
      } else if ((kind & kSeparator) != 0) {
        EndWord(State::Separator);
      } else {
        if (state_ != State::Word) ++Words;
        state_ = State::Word;
        if (table_ != nullptr && word_.size() < kMaxKeptWordLength) word_.push_back(static_cast<char>(c));
      }
      ++i;
    }
  }
  void Finish() { EndWord(State::Separator); }

  std::int32_t Words = 0;

 private:
  enum class State { Separator, Word, Tag, PosTag };
  // Kinds of a character; 0 is a word character.
  static constexpr std::uint8_t kSeparator = 1;
  static constexpr std::uint8_t kTagStart = 2;  // starts a tag that is skipped
  static constexpr std::uint8_t kPosStart = 4;  // may start a part-of-speech tag

  bool StartsPosTag(std::string_view rest) const {
    for (const std::string& start : posStarts_)
      if (rest.starts_with(start)) return true;
    return false;
  }
  void EndWord(State next) {
    if (!word_.empty()) table_->AddWord(word_, true);
    word_.clear();
    state_ = next;
  }

  THashStrings* table_;
  std::vector<std::string> posStarts_;
  std::array<std::uint8_t, 256> kinds_{};
  std::array<bool, 256> tagStops_{};
  std::array<bool, 256> posStops_{};
  State state_ = State::Separator;
  std::string word_;
};

// Finds every occurrence of core followed by one of followers (any follower
// when followers is empty) that starts at or after from and ends inside
// buffer. Returns their starts, in order, not overlapping.
std::vector<std::size_t> FindOccurrences(std::string_view buffer, std::size_t from, std::string_view core,
                                         std::string_view followers) {
  std::vector<std::size_t> found;
  const std::size_t length = core.size() + (followers.empty() ? 0 : 1);
  std::size_t at = from;
  while ((at = buffer.find(core, at)) != std::string_view::npos) {
    if (at + length > buffer.size()) break;
    if (followers.empty() || followers.find(buffer[at + core.size()]) != std::string_view::npos) {
      found.push_back(at);
      at += length;
    } else {
      ++at;
    }
  }
  return found;
}

// The pattern of a delimiter or element start: its text before the last
// character, or before "#" with white space after it.
struct TOccurrencePattern {
  std::string Core;
  std::string Followers;
};

TOccurrencePattern PageSeparatorPattern(const std::string& separator) {
  if (!separator.empty() && separator.back() == '#')
    return {separator.substr(0, std::min(separator.size() - 1, kMaxHashDelimiterLength)), " \r\n"};
  return {separator, ""};
}

TOccurrencePattern ElementStartPattern(const std::string& start, char tagStop) {
  if (start.back() == '#') return {start.substr(0, start.size() - 1), "\n\r "};
  return {start.substr(0, start.size() - 1), std::string(" ") + tagStop};
}

class TCollectPass {
 public:
  TCollectPass(ProgramState& state, TCorpusText& text, const TCollectRequest& request, bool countWords)
      : state_(state), text_(text), request_(request), countWords_(countWords) {}

  std::int32_t Run();

 private:
  void ProcessBlock(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart);
  void CollectLines(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart);
  void CollectTags(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart);
  void CheckCancel(TProgressForm& progress);

  ProgramState& state_;
  TCorpusText& text_;
  const TCollectRequest& request_;
  const bool countWords_;
  std::unique_ptr<TTableBuild> lines_, pages_, watched_;
  std::unique_ptr<TWordCounter> words_;
  TOccurrencePattern pagePattern_;
  std::vector<TOccurrencePattern> elementPatterns_;
  std::int64_t pendingCocoa_ = -1;  // a COCOA tag start whose stop was beyond the last buffer
};

std::int32_t TCollectPass::Run() {
  const ConcordConfig& config = state_.ConcordConfig;
  std::vector<TWatchedTag>& tags = state_.WatchedTags;
  const bool buildPages = request_.Pages && !config.PageSeparator.empty();
  if (buildPages) {
    pages_ = std::make_unique<TTableBuild>(text_.PageTables, "PGT", 1);
    pages_->Table().AppendValue(0);
    pagePattern_ = PageSeparatorPattern(config.PageSeparator);
  }
  if (request_.Lines) {
    lines_ = std::make_unique<TTableBuild>(text_.LineTables, "LNT", 1);
    lines_->Table().AppendValue(0);
  }
  if (request_.WatchedTags && !tags.empty()) {
    watched_ = std::make_unique<TTableBuild>(text_.WatchedTagTables, "WTT", static_cast<std::int32_t>(tags.size()));
    for (TWatchedTag& tag : tags) {
      tag.HitCount = 0;
      tag.LastPosition = -1;
      elementPatterns_.push_back(tag.WatchCocoa || tag.WatchStart.empty() ? TOccurrencePattern{}
                                                                          : ElementStartPattern(tag.WatchStart, config.TagStop));
    }
  }

  std::unique_ptr<TProgressForm> progress = state_.host.CreateProgress(request_.CancelAllOffered);
  progress->Caption = "Collecting tag information";
  progress->ProgressLabel = text_.CorpusFiles;
  progress->Show();

  Corpus& corpus = state_.corpus;
  if (!corpus.CorpusWordTable && corpus.CountWordsWhileLoading) {
    corpus.CorpusWordTable = NewCorpusWordTable(state_);
  }
  if (countWords_)
    words_ = std::make_unique<TWordCounter>(state_, corpus.CountWordsWhileLoading ? corpus.CorpusWordTable.get() : nullptr);

  TSynchroStream& stream = *text_.CorpusStreams;
  const std::int64_t size = std::max<std::int64_t>(1, stream.GetSize());
  std::string buffer(static_cast<std::size_t>(kCollectBlockSize), '\0');
  std::size_t kept = 0;
  std::int32_t readPosition = 0;
  std::int32_t bufferStart = 0;
  for (;;) {
    state_.host.ProcessMessages();
    progress->ProgressBar = static_cast<int>(std::min<std::int64_t>(100, readPosition * 100LL / size));
    progress->Update();
    CheckCancel(*progress);
    const std::int32_t n = stream.ReadAt(buffer.data() + kept, kCollectBlockSize - static_cast<std::int32_t>(kept),
                                         readPosition);
    if (n <= 0) break;
    const std::string_view block(buffer.data(), kept + static_cast<std::size_t>(n));
    ProcessBlock(block, kept, bufferStart);
    const std::size_t keep = std::min<std::size_t>(kCollectOverlap, block.size());
    std::memmove(buffer.data(), buffer.data() + block.size() - keep, keep);
    bufferStart += static_cast<std::int32_t>(block.size() - keep);
    kept = keep;
  }
  if (words_) words_->Finish();

  for (TTableBuild* build : {lines_.get(), pages_.get(), watched_.get()})
    if (build != nullptr) build->Finish();
  for (TWatchedTag& tag : tags) tag.HitPositions = {};
  return words_ ? words_->Words : 0;
}

void TCollectPass::CheckCancel(TProgressForm& progress) {
  const int tag = progress.Tag.load();
  if (tag == 0) return;
  if (tag == 2 || !progress.CancelAllOffered) state_.CancelAllTagCollection = true;
  throw EAbort();
}

void TCollectPass::ProcessBlock(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart) {
  if (words_) words_->Classify(buffer, fresh, buffer.size());
  if (lines_) CollectLines(buffer, fresh, bufferStart);
  if (pages_) {
    const std::size_t span = pagePattern_.Core.size() + (pagePattern_.Followers.empty() ? 0 : 1);
    const std::size_t from = fresh >= span - 1 ? fresh - (span - 1) : 0;
    for (std::size_t at : FindOccurrences(buffer, from, pagePattern_.Core, pagePattern_.Followers))
      pages_->Table().AppendValue(bufferStart + static_cast<std::int32_t>(at));
  }
  if (watched_) CollectTags(buffer, fresh, bufferStart);
}

void TCollectPass::CollectLines(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart) {
  // A text with carriage returns breaks its lines there; otherwise at line
  // feeds (a CR LF pair counts once, at its CR).
  TIndexedStream& table = lines_->Table();
  const char* const base = buffer.data();
  const char* const end = base + buffer.size();
  const char* at = base + fresh;
  const bool carriageReturns = std::memchr(at, '\r', static_cast<std::size_t>(end - at)) != nullptr;
  const char breakChar = carriageReturns ? '\r' : '\n';
  while (at < end) {
    const auto* found = static_cast<const char*>(std::memchr(at, breakChar, static_cast<std::size_t>(end - at)));
    if (found == nullptr) break;
    if (carriageReturns || found == base || found[-1] != '\r')
      table.AppendValue(bufferStart + static_cast<std::int32_t>(found - base));
    at = found + 1;
  }
}

void TCollectPass::CollectTags(std::string_view buffer, std::size_t fresh, std::int32_t bufferStart) {
  const ConcordConfig& config = state_.ConcordConfig;
  std::vector<TWatchedTag>& tags = state_.WatchedTags;
  for (TWatchedTag& tag : tags) tag.HitPositions.clear();

  bool anyCocoa = false;
  for (std::size_t t = 0; t < tags.size(); ++t) {
    const TOccurrencePattern& pattern = elementPatterns_[t];
    if (tags[t].WatchCocoa) anyCocoa = true;
    if (pattern.Core.empty()) continue;
    const std::size_t span = pattern.Core.size() + 1;
    const std::size_t from = fresh >= span - 1 ? fresh - (span - 1) : 0;
    for (std::size_t at : FindOccurrences(buffer, from, pattern.Core, pattern.Followers))
      tags[t].HitPositions.push_back(bufferStart + static_cast<std::int32_t>(at));
  }

  if (anyCocoa) {
    const CharSet separators = config.DelimiterSet();
    const auto isStop = [&](unsigned char c) {
      return config.TagStop == '#' ? IsWhiteStop(c) : c == static_cast<unsigned char>(config.TagStop);
    };
    std::size_t i = fresh;
    if (pendingCocoa_ >= bufferStart) i = static_cast<std::size_t>(pendingCocoa_ - bufferStart);
    pendingCocoa_ = -1;
    for (; i < buffer.size(); ++i) {
      if (buffer[i] != config.TagStart) continue;
      std::size_t stop = i + 1;
      while (stop < buffer.size() && !isStop(static_cast<unsigned char>(buffer[stop]))) ++stop;
      if (stop >= buffer.size()) {
        if (buffer.size() - i <= static_cast<std::size_t>(kMaxCocoaTagLength)) pendingCocoa_ = bufferStart + static_cast<std::int64_t>(i);
        break;
      }
      if (stop - i + 1 > static_cast<std::size_t>(kMaxCocoaTagLength)) continue;
      std::size_t nameEnd = i + 1;
      while (nameEnd < stop && !separators.test(static_cast<unsigned char>(buffer[nameEnd]))) ++nameEnd;
      const std::string_view name = buffer.substr(i + 1, nameEnd - i - 1);
      for (TWatchedTag& tag : tags)
        if (tag.WatchCocoa && name == tag.WatchStart) tag.HitPositions.push_back(bufferStart + static_cast<std::int32_t>(i));
      i = stop;
    }
  }

  std::size_t rows = 0;
  for (const TWatchedTag& tag : tags) rows = std::max(rows, tag.HitPositions.size());
  std::vector<std::int32_t> row(tags.size());
  for (std::size_t j = 0; j < rows; ++j) {
    for (std::size_t t = 0; t < tags.size(); ++t) {
      if (j < tags[t].HitPositions.size()) tags[t].LastPosition = tags[t].HitPositions[j];
      row[t] = tags[t].LastPosition;
    }
    watched_->Table().AppendRecord(row);
  }
  for (TWatchedTag& tag : tags) tag.HitCount = static_cast<std::int32_t>(tag.HitPositions.size());
}

}  // namespace

void CollectTagInfo(ProgramState& state, const std::string& name, const TCollectRequest& request,
                    std::int32_t& wordCount) {
  if (state.CancelAllTagCollection) return;
  const int index = state.corpus.IndexOf(name);
  if (index < 0) return;
  TCorpusText& text = state.corpus.Texts[static_cast<std::size_t>(index)];
  if (!text.CorpusStreams) return;
  const bool countWords = wordCount < 1;
  TCollectPass pass(state, text, request, countWords);
  const std::int32_t words = pass.Run();
  if (countWords) wordCount = words;
}

bool CollectAllTagInfo(ProgramState& state) {
  state.CancelAllTagCollection = false;
  bool finished = true;
  for (int i = 0; i < state.corpus.Count() && finished; ++i) {
    TCorpusText& text = state.corpus.Texts[static_cast<std::size_t>(i)];
    TCollectRequest request;
    request.Lines = !text.LineTables.Index;
    request.Pages = !text.PageTables.Index && !state.ConcordConfig.PageSeparator.empty();
    request.WatchedTags = !text.WatchedTagTables.Index && !state.WatchedTags.empty();
    if (!request.Lines && !request.Pages && !request.WatchedTags && text.WordCount > 0) continue;
    try {
      std::int32_t words = text.WordCount;
      CollectTagInfo(state, text.CorpusFiles, request, words);
      text.WordCount = words;
    } catch (const EAbort&) {
      finished = false;
    } catch (const Exception& e) {
      state.host.ShowError(e.what());
      finished = false;
    }
  }
  RecomputeTotalWords(state.corpus);
  state.host.CorpusInfoChanged();
  return finished;
}

}  // namespace korvane
