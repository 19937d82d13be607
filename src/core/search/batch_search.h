// The batch search: a list of patterns run as one search whose hits go to a
// text or HTML file instead of a concordance window.
//
// This file holds the three pieces of it that are no user-interface work:
// splitting the pattern list into patterns (remembering where each stands in
// the editor text, so that a bad one can be selected there), the batch
// options of the configuration file, and the run that writes the hits.
// Unsorted, every hit is written the moment it is found and then freed;
// sorted, the hits are collected, sorted by the batch sort options and
// written when the scan ends.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/concordance_writer.h"
#include "results/concord_item.h"
#include "results/concord_items.h"
#include "results/custom_sort.h"
#include "search/search_rec.h"

namespace korvane {

class ConcordConfig;
class IniFile;
class ProgramState;
class TSearch;
class TTagQuery;

// The patterns of a batch list, with the character offset of each in the
// editor text (lines counted with a two-character line end).
struct TBatchPatterns {
  std::vector<std::string> Patterns;
  std::vector<std::int32_t> Offsets;
};

// Trims every line of spaces in place and splits the lines into patterns:
// for regular expressions each non-empty line is one pattern; otherwise
// every line is split at commas, spaces and further commas after a comma
// are skipped, and a piece is trimmed of trailing spaces. Empty lines and
// empty pieces (before a leading comma) give no pattern.
TBatchPatterns SplitBatchPatterns(std::vector<std::string>& lines, TSearchMode mode);

// Reads a stored batch sort key: a sort mode caption, or a plain number of
// the older form (above 6 plus 2, 1 to 6 plus 1, 0 unchanged; a result
// outside 0..12 gives 10). Anything else reads as 10.
std::uint8_t ReadBatchSortKey(std::string_view value);

// Reads and writes "BatchSearchConfiguration": the batch context type
// (values outside 0..3 read as 0) and sizes, the suppress flags (all three
// on reads with words off), the three sort keys, the customised sort text
// and the sort tag name. "AdvCollocation" is written as true when there is
// a customised text.
void ReadBatchOptions(const IniFile& ini, ConcordConfig& config);
void WriteBatchOptions(IniFile& ini, const ConcordConfig& config);

// Where and how a batch search writes its hits.
struct TBatchOutput {
  std::string Path;
  bool Append = false;  // append to an existing file instead of replacing it
  // The output options; their context and suppress fields are replaced by
  // the batch settings, sort labels are never written.
  TConcordanceOutputOptions Options;
  // The customised sort key sequence, given only while the batch's
  // customised sort is on; it then replaces the three sort keys.
  const TAdvancedSortColList* CustomKeys = nullptr;
};

class TBatchSearch {
 public:
  // Opens output.Path for writing: appended to when output.Append is set and
  // the file exists, otherwise created or truncated. Throws Exception
  // "Unable to open file: <path>." when it cannot be opened. state and tags
  // must outlive the object.
  TBatchSearch(ProgramState& state, const TTagQuery& tags, const TBatchOutput& output);
  ~TBatchSearch();
  TBatchSearch(const TBatchSearch&) = delete;
  TBatchSearch& operator=(const TBatchSearch&) = delete;

  // True unless all three batch sort keys are "Unsorted" (and no customised
  // sequence is given).
  bool Sorted() const { return sorted_; }
  std::int64_t MatchCount() const { return matchCount_; }

  // Runs the prepared search (of the patterns patternNames) with no hit
  // limit, then writes what is left
  // to write: the whole sorted list, or the HTML tail. The user's cancel
  // ends the scan, and the hits found so far are written. Other errors (a
  // failed write among them) pass on; the file is closed then.
  void Run(TSearch& search, const std::vector<std::string>& patternNames);

  // The pieces of Run. Start writes the HTML head of unsorted HTML output,
  // titled with the pattern names.
  void Start(const std::vector<std::string>& patternNames);
  // The batch add-hit routine: collects the hit (sorted) or writes its
  // line at once and frees it (unsorted); counts the match and shows
  // " Batch search matches: N" in the status line. Throws Exception when
  // the file cannot be written.
  void AddHit(std::unique_ptr<TConcordItem> item);
  // Sorts and writes the collected hits, or ends unsorted HTML output; then
  // flushes the file. Throws Exception when the file cannot be written.
  void Finish();

 private:
  void WriteHit(int index, std::int64_t number);
  void CheckStream();

  ProgramState& state_;
  const TTagQuery& tags_;
  TBatchOutput output_;
  bool sorted_;
  std::ofstream file_;
  std::string title_;
  TConcordItems hits_;
  TConcordanceWriter writer_;
  std::int64_t matchCount_ = 0;
  std::int32_t serial_ = 0;
};

}  // namespace korvane
