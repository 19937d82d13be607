// The corpus: the ordered texts that every search, word list and distribution
// runs over, each with its source stream, its reader, its three index slots,
// its word count and its workspace flag string; and the corpus-wide values.
// A text is addressed by its 0-based index in load order; removing one
// renumbers those behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvane {

class TSynchroStream;
class TBufStream;
class TIndexedStream;
class THashStrings;

// One index slot (line, page or tracked-tag table of a text):
//  " " without object   placeholder put in when the text is added;
//  "" without object    the table is missing and "Collect Tag Information"
//                       rebuilds it;
//  file name + object   the table exists.
struct TIndexSlot {
  std::string Name = " ";
  std::unique_ptr<TIndexedStream> Index;

  TIndexSlot();
  // Releases the slot (see Release).
  ~TIndexSlot();
  TIndexSlot(TIndexSlot&&) noexcept;
  TIndexSlot& operator=(TIndexSlot&&) noexcept;

  bool IsPlaceholder() const { return Name == " " && !Index; }
  bool IsMissing() const { return Name.empty(); }
  // Frees the object and, when the file is the program's own (not a file of
  // a workspace's data folder), deletes the index file and its companion;
  // the slot becomes missing.
  void Release();
};

// The companion file of an index file: same folder, base name without
// extension, plus "H.tmp" (LNT12.tmp -> LNT12H.tmp).
std::string CompanionFileName(const std::string& indexFileName);

// One text of the corpus. The fields keep the names of the corpus lists they
// stand for.
struct TCorpusText {
  std::string CorpusFiles;  // full path of the file, or the URL
  std::int32_t WordCount = 0;  // 0 or less: not counted yet
  std::unique_ptr<TSynchroStream> CorpusStreams;
  std::unique_ptr<TBufStream> CorpusReaders;
  TIndexSlot PageTables;
  TIndexSlot LineTables;
  TIndexSlot WatchedTagTables;
  std::string CorpusFileFlags;

  TCorpusText();
  ~TCorpusText();
  TCorpusText(TCorpusText&&) noexcept;
  TCorpusText& operator=(TCorpusText&&) noexcept;
};

class Corpus {
 public:
  Corpus();
  ~Corpus();
  Corpus(const Corpus&) = delete;
  Corpus& operator=(const Corpus&) = delete;

  std::vector<TCorpusText> Texts;

  std::int32_t TotalWords = 0;
  std::unique_ptr<THashStrings> CorpusWordTable;
  bool CountWordsWhileLoading = false;
  std::int32_t UnfinishedURLs = 0;
  bool StopURLLoading = false;
  std::string WorkspaceFile;
  std::string WorkspaceDataDir;

  int Count() const { return static_cast<int>(Texts.size()); }
  bool Empty() const { return Texts.empty(); }
  // The sum of the sources' sizes.
  std::int64_t TotalSize() const;
  // True while some source's size is undetermined (a download that has not
  // told its length).
  bool SizeUndetermined() const;
  // Index of the text with this name (compared without case), or -1.
  int IndexOf(const std::string& name) const;
};

}  // namespace korvane
