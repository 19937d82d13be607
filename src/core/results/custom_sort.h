// The customised sort key text ("1r, 0", "2l-2r") of the advanced sort and
// advanced collocation, and the lists of sort keys the advanced dialog
// offers: their captions, their key codes and the names the text uses.
//
// ParseCustomText turns a text into a key sequence; it reads items
// separated by "," and "-", where "-" spans a range of the mode's list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane {

class Host;

// One entry of a customised key sequence: a key code and its reverse flag.
struct TAdvancedSortColItem {
  std::uint8_t Key = 10;
  bool Reverse = false;
  friend bool operator==(const TAdvancedSortColItem&, const TAdvancedSortColItem&) = default;
};

using TAdvancedSortColList = std::vector<TAdvancedSortColItem>;

// One row of the advanced dialog's key lists. Name is empty for a key that
// the customised text cannot name.
struct TSortModeItem {
  const char* Caption;
  std::uint8_t Code;
  const char* Name;
};

// The sort mode list in display order ("4L" ... "Unsorted").
std::span<const TSortModeItem> SortModeItems();
// The collocation mode list: the first nine sort rows, then "None".
std::span<const TSortModeItem> CollocationModeItems();

enum class TCustomTextMode { Sort, Collocation };

// Parses text into list (which is cleared first). Returns true on success.
// On failure parsing stops at the first error, errorPosition is the 0-based
// offset in text where the caret belongs, and, when host is given, the
// error's message is shown through it. An empty text (after trimming) fails
// without a message, with errorPosition 0.
bool ParseCustomText(const std::string& text, TCustomTextMode mode, Host* host,
                     int& errorPosition, TAdvancedSortColList& list);

}  // namespace korvane
