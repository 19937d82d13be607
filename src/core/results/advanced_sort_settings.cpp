// Reading and writing the stored sort keys and the "AdvancedSort" section.
#include "results/advanced_sort_settings.h"

#include <charconv>

#include "app/ini_file.h"
#include "results/concord_item.h"
#include "results/custom_sort.h"

namespace korvane {

namespace {

constexpr const char* kSection = "AdvancedSort";

// The older sort mode list, by its stored integer.
constexpr std::uint8_t kOlderKeys[] = {pc3L, pc2L, pc1L, pcSearchTerm, pc1R,
                                       pc2R, pc3R, pcDefined, pcOriginalOrder, pcUnsorted};

}  // namespace

std::string SortKeyCaption(std::uint8_t code) {
  for (const auto& item : SortModeItems())
    if (item.Code == code) return item.Caption;
  return SortKeyCaption(pcUnsorted);
}

std::optional<std::uint8_t> SortKeyFromCaption(std::string_view caption) {
  for (const auto& item : SortModeItems())
    if (caption == item.Caption) return item.Code;
  return std::nullopt;
}

std::optional<std::int32_t> PlainInteger(std::string_view value) {
  std::int32_t number = 0;
  const char* first = value.data();
  const char* last = value.data() + value.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return number;
}

std::uint8_t ReadAdvancedSortKey(std::string_view value) {
  if (auto code = SortKeyFromCaption(value)) return *code;
  if (auto number = PlainInteger(value);
      number && *number >= 0 && *number < static_cast<std::int32_t>(std::size(kOlderKeys)))
    return kOlderKeys[*number];
  return pcUnsorted;
}

void ReadAdvancedSort(const IniFile& ini, TAdvancedSortColOptions& options, bool& custom) {
  options.FirstKey = ReadAdvancedSortKey(ini.ReadString(kSection, "First", ""));
  options.FirstReverse = ini.ReadBool(kSection, "FirstReverse", false);
  options.SecondKey = ReadAdvancedSortKey(ini.ReadString(kSection, "Second", ""));
  options.SecondReverse = ini.ReadBool(kSection, "SecondReverse", false);
  options.ThirdKey = ReadAdvancedSortKey(ini.ReadString(kSection, "Third", ""));
  options.ThirdReverse = ini.ReadBool(kSection, "ThirdReverse", false);
  custom = ini.ReadBool(kSection, "Custom", false);
  options.CustomText = ini.ReadString(kSection, "CustomText", "");
  options.TagName = ini.ReadString(kSection, "TagName", "");
}

void WriteAdvancedSort(IniFile& ini, const TAdvancedSortColOptions& options, bool custom) {
  ini.WriteString(kSection, "First", SortKeyCaption(options.FirstKey));
  ini.WriteBool(kSection, "FirstReverse", options.FirstReverse);
  ini.WriteString(kSection, "Second", SortKeyCaption(options.SecondKey));
  ini.WriteBool(kSection, "SecondReverse", options.SecondReverse);
  ini.WriteString(kSection, "Third", SortKeyCaption(options.ThirdKey));
  ini.WriteBool(kSection, "ThirdReverse", options.ThirdReverse);
  ini.WriteBool(kSection, "Custom", custom);
  ini.WriteString(kSection, "CustomText", options.CustomText);
  ini.WriteString(kSection, "TagName", options.TagName);
}

}  // namespace korvane
