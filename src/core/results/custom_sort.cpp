// Parsing of the customised key text. Items are read left to right; an item
// after "-" closes a range that starts at the item before it.
#include "results/custom_sort.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "app/host.h"

namespace korvane {

namespace {

constexpr TSortModeItem kSortItems[] = {
    {"4L", 1, "4l"},           {"3L", 2, "3l"},         {"2L", 3, "2l"},
    {"1L", 4, "1l"},           {"Search term", 0, "0"}, {"1R", 5, "1r"},
    {"2R", 6, "2r"},           {"3R", 7, "3r"},         {"4R", 8, "4r"},
    {"Defined", 11, "def"},    {"Tracked tag", 12, "tag"}, {"Original order", 9, "orig"},
    {"Unsorted", 10, ""},
};

constexpr TSortModeItem kCollocationItems[] = {
    {"4L", 1, "4l"}, {"3L", 2, "3l"},         {"2L", 3, "2l"}, {"1L", 4, "1l"},
    {"Search term", 0, "0"}, {"1R", 5, "1r"}, {"2R", 6, "2r"}, {"3R", 7, "3r"},
    {"4R", 8, "4r"}, {"None", 10, ""},
};

enum class TParseError { UnknownItem, DuplicatedItem, InvalidOrder };

// The message of a parse error in a mode.
std::string ParseErrorText(TParseError error, TCustomTextMode mode) {
  const std::string what = mode == TCustomTextMode::Sort ? "Sort" : "Collocation";
  switch (error) {
    case TParseError::UnknownItem: return "Unknown item in Customised " + what + ".";
    case TParseError::DuplicatedItem: return "Duplicated Item in Customised " + what + ".";
    case TParseError::InvalidOrder: return "Invalid order in Customised Collocation.";
  }
  return {};
}

struct ParseFailure {
  TParseError Error;
  int Position;
};

class CustomTextParser {
 public:
  CustomTextParser(TCustomTextMode mode, TAdvancedSortColList& list)
      : mode_(mode), items_(mode == TCustomTextMode::Sort ? SortModeItems() : CollocationModeItems()),
        list_(list) {}

  // Reads the lower-cased text; returns the first failure, if any.
  std::optional<ParseFailure> Run(const std::string& text) {
    std::size_t start = 0;
    bool closesRange = false;
    while (true) {
      std::size_t end = text.find_first_of(",-", start);
      if (end == std::string::npos) end = text.size();
      if (auto failure = Item(text, start, end, closesRange)) return failure;
      if (end == text.size()) return std::nullopt;
      closesRange = text[end] == '-';
      start = end + 1;
    }
  }

 private:
  std::optional<ParseFailure> Item(const std::string& text, std::size_t start, std::size_t end,
                                   bool closesRange) {
    std::size_t first = start;
    while (first < end && text[first] == ' ') ++first;
    std::size_t last = end;
    while (last > first && text[last - 1] == ' ') --last;
    std::string name = text.substr(first, last - first);
    bool reverse = false;
    if (mode_ == TCustomTextMode::Sort && !name.empty() &&
        std::isdigit(static_cast<unsigned char>(name[0])) && name.back() == 'r' &&
        ((name.size() == 2 && name[0] == '0') || name.size() == 3)) {
      reverse = true;
      name.pop_back();
    }
    const int index = IndexOf(name);
    if (index < 0) return ParseFailure{TParseError::UnknownItem, static_cast<int>(first)};

    const int addPosition = static_cast<int>(start);
    if (closesRange && previous_ >= 0) {
      const int step = index > previous_ ? 1 : -1;
      for (int i = previous_; i != index;) {
        i += step;
        if (auto failure = Add(i, previousReverse_, addPosition)) return failure;
      }
      previous_ = index;
      return std::nullopt;
    }
    if (auto failure = Add(index, reverse, addPosition)) return failure;
    previousReverse_ = reverse;
    previous_ = index;
    return std::nullopt;
  }

  int IndexOf(const std::string& name) const {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (name == items_[i].Name) return static_cast<int>(i);
    return -1;
  }

  std::optional<ParseFailure> Add(int index, bool reverse, int position) {
    const std::uint8_t code = items_[static_cast<std::size_t>(index)].Code;
    if (std::any_of(list_.begin(), list_.end(), [&](const auto& item) { return item.Key == code; }))
      return ParseFailure{TParseError::DuplicatedItem, position};
    if (mode_ == TCustomTextMode::Collocation && lastAdded_ >= 0 && index <= lastAdded_)
      return ParseFailure{TParseError::InvalidOrder, position};
    list_.push_back({code, reverse});
    lastAdded_ = index;
    return std::nullopt;
  }

  TCustomTextMode mode_;
  std::span<const TSortModeItem> items_;
  TAdvancedSortColList& list_;
  int previous_ = -1;  // list index of the item before a "-"
  bool previousReverse_ = false;
  int lastAdded_ = -1;
};

}  // namespace

std::span<const TSortModeItem> SortModeItems() { return kSortItems; }
std::span<const TSortModeItem> CollocationModeItems() { return kCollocationItems; }

bool ParseCustomText(const std::string& text, TCustomTextMode mode, Host* host,
                     int& errorPosition, TAdvancedSortColList& list) {
  list.clear();
  errorPosition = 0;
  if (text.find_first_not_of(' ') == std::string::npos) return false;
  std::string lowered = text;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto failure = CustomTextParser(mode, list).Run(lowered);
  if (!failure) return true;
  errorPosition = failure->Position;
  if (host != nullptr) host->ShowError(ParseErrorText(failure->Error, mode));
  return false;
}

}  // namespace korvane
