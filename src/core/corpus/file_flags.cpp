// Workspace flag strings: writing and reading one entry.
#include "corpus/file_flags.h"

namespace korvane {

std::string FlagEntry(char letter, const std::string& value) {
  return std::string(1, letter) + "." + value + " ";
}

std::string FlagValue(const std::string& flags, char letter) {
  const std::string key{letter, '.'};
  const std::size_t at = flags.find(key);
  if (at == std::string::npos) return std::string();
  const std::size_t start = at + key.size();
  const std::size_t end = flags.find(' ', start);
  return flags.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string FlagDataFile(const std::string& dataDir, const std::string& value) {
  return dataDir + value + ".tmp";
}

}  // namespace korvane
