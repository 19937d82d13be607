// The corpus loader: LoadTexts/LoadText add texts in order and then collect
// what each new text needs (index tables, word count); RemoveText and
// UnloadCorpus release everything a text owns. The corpus panel texts are
// computed here too, since they describe what the loader built.
#include "corpus/corpus_loader.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "app/errors.h"
#include "app/program_state.h"
#include "corpus/buf_stream.h"
#include "corpus/file_flags.h"
#include "corpus/file_handle.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "net/url_loading.h"
#include "tags/indexed_stream.h"
#include "tags/tag_collector.h"

namespace korvane {
namespace {

// Bytes that make a file look binary.
bool IsNonTextByte(unsigned char c) {
  return c <= 8 || c == 11 || (c >= 14 && c <= 31) || c == 127 || c == 255;
}

constexpr int kTextTestBytes = 256;
constexpr int kNonTextLimit = 5;

std::string NotATextFileQuestion(const std::string& name) {
  return name + "\r\n" + "does not seem to be a text file. Open anyway?";
}

// Cuts the corpus back to n texts (a failed LoadText).
void TruncateCorpus(Corpus& corpus, int n) {
  while (corpus.Count() > n) corpus.Texts.pop_back();
}

// Opens the tables and the word count that a workspace saved for text, as
// its flag string names them. A table that cannot be opened shows its error
// and stays missing (it is built again); a word count that does not parse
// stays missing (it is counted again).
void ReuseSavedData(ProgramState& state, TCorpusText& text) {
  const std::string& flags = text.CorpusFileFlags;
  if (flags.empty()) return;
  const std::pair<char, TIndexSlot*> tables[] = {
      {'L', &text.LineTables}, {'P', &text.PageTables}, {'T', &text.WatchedTagTables}};
  for (const auto& [letter, slot] : tables) {
    const std::string value = FlagValue(flags, letter);
    if (value.empty()) continue;
    const std::string path = FlagDataFile(state.corpus.WorkspaceDataDir, value);
    try {
      slot->Index = TIndexedStream::OpenStored(path, true);
      slot->Index->SavedAs = path;
      slot->Name = path;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
      state.host.ShowError(e.what());
    }
  }
  const std::string words = FlagValue(flags, 'W');
  std::int32_t count = 0;
  const auto [end, error] = std::from_chars(words.data(), words.data() + words.size(), count);
  if (!words.empty() && error == std::errc() && end == words.data() + words.size()) text.WordCount = count;
}

// Collects the tag information and the word count of the texts added by one
// request, building only the tables a text lacks. Counting words into the
// corpus word table is switched off for the request when the workspace holds
// the table already, and after a cancelled text (the table would hold part of
// that text's words; it is discarded and counted again when needed).
void CollectNewTexts(ProgramState& state, int first) {
  Corpus& corpus = state.corpus;
  const bool counting = corpus.CountWordsWhileLoading;
  if (counting && !corpus.WorkspaceDataDir.empty() &&
      std::filesystem::exists(corpus.WorkspaceDataDir + "FREQ" + ".tmp"))
    corpus.CountWordsWhileLoading = false;
  state.CancelAllTagCollection = false;
  for (int i = first; i < corpus.Count(); ++i) {
    TCorpusText& text = corpus.Texts[static_cast<std::size_t>(i)];
    for (TIndexSlot* slot : {&text.LineTables, &text.PageTables, &text.WatchedTagTables})
      if (slot->IsPlaceholder()) slot->Name.clear();
    ReuseSavedData(state, text);
    const bool watchedPresent = text.WatchedTagTables.Index || state.WatchedTags.empty();
    if (text.LineTables.Index && text.PageTables.Index && watchedPresent && text.WordCount > 0) {
      corpus.CorpusWordTable.reset();
      corpus.CountWordsWhileLoading = false;
      continue;
    }
    TCollectRequest request;
    request.Lines = !text.LineTables.Index;
    request.Pages = !text.PageTables.Index;
    request.WatchedTags = !watchedPresent;
    request.CancelAllOffered = true;
    std::int32_t words = 0;
    try {
      CollectTagInfo(state, text.CorpusFiles, request, words);
      text.WordCount = words;
    } catch (const EAbort&) {
      corpus.CorpusWordTable.reset();
      corpus.CountWordsWhileLoading = false;
    } catch (const Exception& e) {
      corpus.CorpusWordTable.reset();
      state.host.ShowError(e.what());
      break;
    }
  }
  corpus.CountWordsWhileLoading = counting;
}

}  // namespace

bool IsURL(const std::string& name) {
  std::string head = name.substr(0, 7);
  std::transform(head.begin(), head.end(), head.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return head.rfind("http://", 0) == 0 || head.rfind("ftp://", 0) == 0;
}

bool IsTextFile(const std::string& path) {
  TFileHandle file;
  if (!file.Open(path)) return true;
  char buffer[kTextTestBytes + 1];
  const std::int32_t n = file.ReadAt(0, kTextTestBytes, buffer);
  file.Close();
  if (n < 0) return true;
  buffer[n] = 0;
  int nonText = 0;
  for (int i = 0; i < n && buffer[i] != 0; ++i)
    if (IsNonTextByte(static_cast<unsigned char>(buffer[i]))) ++nonText;
  return nonText < kNonTextLimit;
}

std::string NormalizePath(const std::string& path) {
  namespace fs = std::filesystem;
  if (path.find('/') == std::string::npos) return path;
  std::error_code ignored;
  fs::path full = fs::absolute(fs::path(path), ignored);
  std::string result = full.lexically_normal().string();
  // Single separators, and none at the end of a file name.
  std::string clean;
  for (char c : result)
    if (!(c == '/' && !clean.empty() && clean.back() == '/')) clean += c;
  while (clean.size() > 1 && clean.back() == '/') clean.pop_back();
  return clean;
}

void AnnounceCorpusChange(ProgramState& state) {
  state.corpus.CorpusWordTable.reset();
  state.host.CorpusChanged();
}

namespace {

// The cached copy of a URL document that a workspace saved, or none when
// there is no usable copy (its error is shown and the URL is fetched again).
std::unique_ptr<TSynchroStream> OpenCachedCopy(ProgramState& state, const std::string& flags) {
  const std::string cached = FlagValue(flags, 'U');
  if (state.corpus.WorkspaceFile.empty() || cached.empty()) return nullptr;
  try {
    const std::string path = FlagDataFile(state.corpus.WorkspaceDataDir, cached);
    auto copy = std::make_unique<TFileSynchroStream>(path, TFileOpenMode::ReadWriteShareWrite);
    copy->SavedAs = path;
    return copy;
  } catch (const Exception& e) {
    state.host.ShowError(e.what());
    return nullptr;
  }
}

// The source of a text: a cached or live URL document, or a file.
std::unique_ptr<TSynchroStream> OpenSource(ProgramState& state, std::string& name, const std::string& flags) {
  if (IsURL(name)) {
    if (auto cached = OpenCachedCopy(state, flags)) return cached;
    return OpenURLText(state, name);
  }
  auto file = std::make_unique<TFileSynchroStream>(name, TFileOpenMode::ReadShareWrite);
  file->SavedAs = name;
  return file;
}

}  // namespace

bool LoadText(ProgramState& state, std::string& name, const std::string& flags) {
  Corpus& corpus = state.corpus;
  const int existing = corpus.IndexOf(name);
  if (existing >= 0) {
    state.host.ShowText(existing);
    return false;
  }
  if (!IsURL(name) && !IsTextFile(name) && !state.host.AskOKCancel(NotATextFileQuestion(name), true))
    return false;

  const int n = corpus.Count();
  try {
    TCorpusText text;
    text.CorpusStreams = OpenSource(state, name, flags);
    text.CorpusReaders =
        std::make_unique<TBufStream>(text.CorpusStreams.get(), state.ConcordConfig.DelimiterSet());
    text.CorpusFiles = name;
    text.WordCount = 0;
    corpus.Texts.push_back(std::move(text));
  } catch (const EAbort&) {
    TruncateCorpus(corpus, n);
    return false;
  } catch (const Exception& e) {
    TruncateCorpus(corpus, n);
    state.host.ShowError(e.what());
    return false;
  }
  AnnounceCorpusChange(state);
  return true;
}

void ReloadURLTexts(ProgramState& state, const std::vector<int>& selection) {
  Corpus& corpus = state.corpus;
  for (int i : selection) {
    if (i < 0 || i >= corpus.Count()) continue;
    TCorpusText& text = corpus.Texts[static_cast<std::size_t>(i)];
    if (!IsURL(text.CorpusFiles) || IsLiveDownload(*text.CorpusStreams)) continue;
    try {
      std::string name = text.CorpusFiles;
      auto live = OpenURLText(state, name);
      state.host.CloseTextViewer(i);
      text.CorpusReaders.reset();
      // A private copy goes with its stream; a workspace's saved copy stays.
      text.CorpusStreams = std::move(live);
      text.CorpusReaders =
          std::make_unique<TBufStream>(text.CorpusStreams.get(), state.ConcordConfig.DelimiterSet());
      for (TIndexSlot* slot : {&text.LineTables, &text.PageTables, &text.WatchedTagTables}) slot->Release();
      text.WordCount = 0;
      RecomputeTotalWords(corpus);
      state.host.CorpusInfoChanged();
      AnnounceCorpusChange(state);
    } catch (const EAbort&) {
    } catch (const Exception& e) {
      state.host.ShowError(e.what());
    }
  }
}

void LoadTexts(ProgramState& state, const std::vector<std::string>& names,
               const std::vector<std::string>& flags) {
  Corpus& corpus = state.corpus;
  const int first = corpus.Count();
  corpus.StopURLLoading = false;
  {
    BusyScope busy(state.Busy, BusyKind::AddingTexts);
    for (std::size_t k = 0; k < names.size(); ++k) {
      std::string name = names[k];
      const bool url = IsURL(name);
      if (url && corpus.StopURLLoading) continue;
      if (!url) {
        name = NormalizePath(name);
        const std::filesystem::path dir = std::filesystem::path(name).parent_path();
        if (!dir.empty()) state.General.CorpusPath = dir.string() + "/";
      }
      const std::string flag = k < flags.size() ? flags[k] : std::string();
      if (LoadText(state, name, flag)) {
        corpus.Texts.back().CorpusFileFlags = flag;
        // Only the first name of a request opens in the viewer.
        if (k == 0) state.host.ShowText(corpus.Count() - 1);
      }
      state.host.ProcessMessages();
    }
  }
  {
    BusyScope busy(state.Busy, BusyKind::CollectingTags);
    CollectNewTexts(state, first);
  }
  RecomputeTotalWords(corpus);
  state.host.CorpusInfoChanged();
}

void RemoveText(ProgramState& state, int i) {
  Corpus& corpus = state.corpus;
  if (i < 0 || i >= corpus.Count()) return;
  state.host.CloseTextViewer(i);
  corpus.TotalWords = 0;
  AnnounceCorpusChange(state);
  TCorpusText& text = corpus.Texts[static_cast<std::size_t>(i)];
  text.LineTables.Release();
  text.PageTables.Release();
  text.WatchedTagTables.Release();
  // The source deletes its file when it is a download or a private copy.
  text.CorpusReaders.reset();
  text.CorpusStreams.reset();
  corpus.Texts.erase(corpus.Texts.begin() + i);
  state.host.TextRemoved(i);
  RecomputeTotalWords(corpus);
}

void UnloadCorpus(ProgramState& state) {
  state.host.CloseAllChildWindows();
  for (int i = state.corpus.Count() - 1; i >= 0; --i) RemoveText(state, i);
  state.corpus.TotalWords = 0;
  state.host.CorpusInfoChanged();
  state.host.ProcessMessages();
}

void RecomputeTotalWords(Corpus& corpus) {
  std::int64_t total = 0;
  for (const TCorpusText& text : corpus.Texts) {
    if (text.WordCount <= 0) {
      corpus.TotalWords = 0;
      return;
    }
    total = std::min<std::int64_t>(total + text.WordCount, INT32_MAX);
  }
  corpus.TotalWords = static_cast<std::int32_t>(total);
}

std::string WithThousands(std::int64_t n) {
  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(icu::Locale::getDefault(), status);
  std::string separator = ",";
  if (U_SUCCESS(status)) {
    separator.clear();
    symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol).toUTF8String(separator);
  }
  const bool negative = n < 0;
  std::string digits = std::to_string(negative ? -n : n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

std::string SizeText(std::int64_t size) {
  char buffer[64];
  if (size < 1024) {
    std::snprintf(buffer, sizeof buffer, "%lld byte%s", static_cast<long long>(size), size == 1 ? "" : "s");
  } else if (size < 1048576) {
    std::snprintf(buffer, sizeof buffer, "%.2f kbytes", static_cast<double>(size) / 1024.0);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.2f mbytes", static_cast<double>(size) / 1048576.0);
  }
  return buffer;
}

namespace {
// "N word"/"N words": the plural unless the digits are exactly "1".
std::string Counted(std::int64_t n, const char* noun) {
  const std::string digits = WithThousands(n);
  return digits + " " + noun + (digits == "1" ? "" : "s");
}
}  // namespace

std::string CorpusInfoText(const Corpus& corpus) {
  if (corpus.CorpusWordTable)
    return Counted(corpus.TotalWords, "word") + ", " + Counted(corpus.CorpusWordTable->Count(), "type");
  if (corpus.SizeUndetermined()) return std::string();
  return SizeText(corpus.TotalSize()) + ", " + std::to_string(corpus.Count()) + " file" + (corpus.Count() == 1 ? "" : "s");
}

std::string StatusLineText(const Corpus& corpus, const std::string& hint) {
  if (!hint.empty()) return " " + hint;
  if (corpus.Empty()) return " No files loaded";
  return " " + std::to_string(corpus.Count()) + " file" + (corpus.Count() == 1 ? "" : "s") +
         " in current corpus";
}

}  // namespace korvane
