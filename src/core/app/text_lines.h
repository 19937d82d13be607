// Reading the lines of a text file that a user gives us (pattern lists,
// stop lists, reference word lists): LF and CR LF both end a line.
#pragma once

#include <string>
#include <vector>

namespace korvane {

// The lines of path without their line ends. Throws Exception "Unable to
// open file: <path>." when the file cannot be opened or read.
std::vector<std::string> ReadTextLines(const std::string& path);

}  // namespace korvane
