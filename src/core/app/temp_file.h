// Unique temporary files in the system temporary folder ($TMPDIR, by default
// /tmp): a three-letter prefix, a unique part and ".tmp".
#pragma once

#include <string>

namespace korvane {

// Creates an empty file prefix + unique part + ".tmp" in the temporary folder
// and returns its path; the caller owns (and deletes) the file. Throws
// Exception when no file can be created.
std::string TempFileName(const std::string& prefix);

// The temporary folder with a final "/".
std::string TempFolder();

}  // namespace korvane
