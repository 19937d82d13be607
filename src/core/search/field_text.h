// Rules for text typed into the fields of the search dialogs: trimming, and
// the history of a combo box, where the text last used moves to the top.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// text without spaces and control characters at both ends.
std::string TrimField(std::string_view text);

// Trims text and, when the result is not empty, puts it at the top of
// history: an entry already listed changes places with the first entry,
// a new one is inserted at the top. Returns the trimmed text, which the
// field shows afterwards.
std::string AddToHistory(std::vector<std::string>& history, std::string_view text);

}  // namespace korvane
