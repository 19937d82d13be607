// The hits distribution of a concordance: where its hits fall, either per
// corpus text ("Files") or over equal slices of the running text, measured in
// lines, of the entire corpus or of one text. The slice boundaries come from
// the texts' line tables; a slice ends at the line break that closes its last
// line, and a hit belongs to the first slice that ends at or after it.
//
// This file holds everything the distribution window shows or writes that is
// not drawing: the bars, their labels and marks, the axis titles, the header
// lines of the window and the printout, and the saved table. The computation
// reads the corpus and the hit list and keeps no reference to either, so a
// result is a snapshot that stays valid when the corpus changes.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace korvane {

class Corpus;
class ProgramState;
class TConcordItems;
struct TSearchRec;

// One bar.
struct TDistribItem {
  // The slice's upper bound in percent of the lines; 0 for per-text bars.
  std::int32_t Percent = 0;
  // Lines up to the end of the slice, counted over the scope; for a per-text
  // bar 1 + the lines of its text and of all texts before it.
  std::int32_t Lines = 0;
  // Hits that fall into the slice or the text.
  std::int32_t Hits = 0;
  // Where the slice ends, counted over the scope with the texts laid end to
  // end in corpus order; for a per-text bar the end of its text. 64 bits
  // because the texts of a corpus together may pass 2 GiB.
  std::int64_t EndPosition = 0;
};

// Scopes: 0 the entire corpus, 1 one bar per text, 2 + i text i alone.
inline constexpr std::int32_t kScopeEntireCorpus = 0;
inline constexpr std::int32_t kScopeFiles = 1;
inline constexpr std::int32_t kScopeFirstText = 2;

// The slice steps in percent, chosen by index; index 1 (5%) is where the
// window starts.
inline constexpr std::array<std::int32_t, 7> kDistribSteps = {2, 5, 10, 20, 25, 33, 50};
inline constexpr int kDefaultStepIndex = 1;
// The step captions "2%" .. "50%".
std::string StepCaption(int stepIndex);
// The index of a step given in percent, or -1 when it is not one of the steps.
int StepIndexOf(std::int32_t percent);

// The name under which a text appears in the scope list, on its bar and in
// the saved table: a URL whole, otherwise the file name without its folder.
std::string DistribTextName(const std::string& corpusName);
// The scope list: "Entire corpus", "Files", then every text's name.
std::vector<std::string> ScopeNames(const Corpus& corpus);
// The scope the window opens with: "Entire corpus" for fewer than two texts,
// otherwise "Files".
std::int32_t DefaultScope(const Corpus& corpus);

// The bars of one computation and what they were computed for.
struct TDistribution {
  std::int32_t Scope = kScopeEntireCorpus;
  // The step the slices were cut by, after the rules for very short scopes:
  // 100 for a one-line scope, 0 for per-text bars and when there are no bars.
  std::int32_t Step = 0;
  std::vector<TDistribItem> Items;
  // The sum of the bars' hits.
  std::int32_t TotalHits = 0;
  // For per-text bars: each bar's text name, parallel to Items.
  std::vector<std::string> TextNames;
};

// Computes the bars for scope and the step at stepIndex (0..6) from the texts'
// sizes and line tables and the hits of list. A text without a line table
// counts as having no lines. Slices: L = the scope's lines; no bars for
// L = 0, one bar of all the scope's hits for L = 1, and the step forced to
// 50% for L = 2, 33% for L = 3, 25% for L = 4 unless 50% is chosen, 20% for
// L = 5. Hits of texts that no longer exist, and in a one-text scope the hits
// of other texts, are not counted. Throws Exception for a scope or step index
// outside the lists, or when a line table cannot be read.
TDistribution ComputeDistribution(const Corpus& corpus, const TConcordItems& list, std::int32_t scope,
                                  int stepIndex);

// The bar labels, parallel to dist.Items: the text name for per-text bars;
// with percent "prev - this" of Percent (0 before the first); otherwise
// "prev+1 - this" of Lines (1 for the first).
std::vector<std::string> BarLabels(const TDistribution& dist, bool percent);
// The left axis title: "Files", "Percent" or "Lines".
std::string LeftAxisTitle(std::int32_t scope, bool percent);
inline constexpr const char* kBottomAxisTitle = "Hits";
// A bar's mark: "%d (%.2f%%)" of its hits and their share of the total, or
// "0 (0%)" when the total is 0.
std::string BarMark(std::int32_t hits, std::int32_t totalHits);

// The window's caption: "Hits Distribution for: " and the pattern.
std::string DistributionCaption(const std::string& pattern);
// The header lines as (caption, value): "Search pattern:", "Hits:",
// "Search:", "Ignore case:", "Freq. of hits:", "Sent. mode:", then the
// skipping and equal characters, the heading, and the contexts when the
// request uses them. request is the prepared copy the search ran with.
std::vector<std::pair<std::string, std::string>> DistributionHeader(const std::string& pattern,
                                                                    std::int32_t totalHits,
                                                                    const TSearchRec& request);

// The saved table, lines ending in CR LF: per text for "Files", per slice
// otherwise.
std::string DistributionTableText(const TDistribution& dist);
// Writes the table to path through a temporary file that replaces it. Throws
// Exception with the file's error message; path is then unchanged.
void SaveDistribution(const std::string& path, const TDistribution& dist);

// Makes sure every text has a line table before a distribution opens: when
// some lack one, collects the line table alone for each of them ("Cancel
// All" offered), storing the word counts the collection returns, then
// recomputes TotalWords and refreshes the corpus information. Words are not
// added to the corpus word table here, since only some texts are read. A
// cancelled text is left without a table; an error is shown and ends the
// loop. Returns true when every text has a line table. Lets pending messages
// run.
bool PrepareLineTables(ProgramState& state);

}  // namespace korvane
