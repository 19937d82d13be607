// What a workspace keeps besides the settings and the text list: the save
// options of the loaded workspace and the search dialog's batch pattern
// lists, which live in the program state so that a workspace can carry them.
#pragma once

#include <string>
#include <vector>

namespace korvane {

// Which derived data a workspace saves into its data folder. All off
// without a workspace.
struct TWorkspaceOptions {
  bool KeepLinePages = false;    // line and page tables
  bool KeepWatchedTags = false;  // tracked-tag tables
  bool KeepFreq = false;         // the corpus word table
  bool KeepURLs = false;         // downloaded URL documents

  bool Any() const { return KeepLinePages || KeepWatchedTags || KeepFreq || KeepURLs; }
  bool operator==(const TWorkspaceOptions&) const = default;
};

// The search dialog's pattern lists for batch searches of the three kinds.
struct TBatchPatternLists {
  std::vector<std::string> Patterns;      // word patterns
  std::vector<std::string> GrepPatterns;  // regular expressions
  std::vector<std::string> TagsPatterns;  // tag patterns
};

}  // namespace korvane
