#include "app/text_lines.h"

#include <fstream>

#include "app/errors.h"

namespace korvane {

std::vector<std::string> ReadTextLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Exception(UnableToOpenFileMessage(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  if (file.bad()) throw Exception(UnableToOpenFileMessage(path));
  return lines;
}

}  // namespace korvane
