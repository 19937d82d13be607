// The flag string of a corpus text in a workspace: which saved document,
// tables and word count belong to the text. It is a run of entries, each a
// letter, a full stop, a value and one space ("L.LNTa81Kq2 W.5120 "):
//   U  the saved copy of a URL document    L  the line table
//   P  the page table                      T  the tracked-tag table
//   W  the word count in decimal
// The value of U, L, P and T is the base name of a file in the workspace's
// data folder, whose full name is that folder + value + ".tmp".
#pragma once

#include <string>

namespace korvane {

// One entry: letter + "." + value + " ".
std::string FlagEntry(char letter, const std::string& value);

// The value of the first occurrence of letter followed by a full stop: the
// characters after it up to the next space or the end. Empty when there is
// none.
std::string FlagValue(const std::string& flags, char letter);

// The file that a U, L, P or T value names in dataDir (which ends with "/").
std::string FlagDataFile(const std::string& dataDir, const std::string& value);

}  // namespace korvane
