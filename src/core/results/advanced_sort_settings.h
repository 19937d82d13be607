// The stored form of sort keys and the "AdvancedSort" section of the
// configuration file, which keeps the process-wide advanced sort settings.
//
// A key is written as the caption of its sort mode item ("4L" ...
// "Unsorted"). Older files hold an integer instead, an index into the
// shorter list of earlier versions; both forms are read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "search/concord_config.h"

namespace korvane {

class IniFile;

// The caption of a key code ("1R", "Search term", "Unsorted"); "Unsorted"
// for a code outside 0..12.
std::string SortKeyCaption(std::uint8_t code);
// The key code of a caption (exact, case-sensitive), or none.
std::optional<std::uint8_t> SortKeyFromCaption(std::string_view caption);
// The value as a plain decimal integer (optional sign), or none.
std::optional<std::int32_t> PlainInteger(std::string_view value);

// A stored key of "AdvancedSort": a caption, or an integer of the older list
// "3L", "2L", "1L", "Search term", "1R", "2R", "3R", "Defined",
// "Original order", "Unsorted". Anything else, an integer outside that
// list, or a missing value reads as 10 (unsorted).
std::uint8_t ReadAdvancedSortKey(std::string_view value);

// Reads the "AdvancedSort" section into options and custom (the customised
// sort flag). Missing keys give their defaults: keys 10, flags false,
// strings empty.
void ReadAdvancedSort(const IniFile& ini, TAdvancedSortColOptions& options, bool& custom);
void WriteAdvancedSort(IniFile& ini, const TAdvancedSortColOptions& options, bool custom);

}  // namespace korvane
