// Trimming and combo-box histories of the search dialogs' fields.
#include "search/field_text.h"

#include <algorithm>
#include <utility>

namespace korvane {

std::string TrimField(std::string_view text) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string AddToHistory(std::vector<std::string>& history, std::string_view text) {
  std::string trimmed = TrimField(text);
  if (trimmed.empty()) return trimmed;
  auto found = std::find(history.begin(), history.end(), trimmed);
  if (found == history.end())
    history.insert(history.begin(), trimmed);
  else
    std::iter_swap(history.begin(), found);
  return trimmed;
}

}  // namespace korvane
