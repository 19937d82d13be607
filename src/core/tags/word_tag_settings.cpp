// Load, save and the dialog rules of the part-of-speech tag settings.
#include "tags/word_tag_settings.h"

#include <algorithm>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "search/field_text.h"
#include "search/language.h"

namespace korvane {

namespace {

constexpr const char* kMetaTagNames = "MetaTagNames";
constexpr const char* kMetaTagStrings = "MetaTagStrings";

char ReadTrimmedChar(const IniFile& ini, const char* key, char defaultValue) {
  const std::string value = TrimField(ini.ReadString(kWordTagSettingsSection, key, std::string(1, defaultValue)));
  return value.empty() ? defaultValue : value.front();
}

std::vector<std::string> NonBlankCells(const std::vector<std::string>& cells) {
  std::vector<std::string> result;
  for (const std::string& cell : cells) {
    std::string trimmed = TrimField(cell);
    if (!trimmed.empty()) result.push_back(std::move(trimmed));
  }
  return result;
}

std::uint8_t WordTagOf(const TWordTagDialogValues& values) {
  return values.Outside ? 2 : values.Embedded ? 1 : 0;
}

}  // namespace

std::vector<TMetaTag> BuildMetaTags(const std::vector<TMetaTagRow>& rows) {
  std::vector<TMetaTag> metaTags;
  for (const TMetaTagRow& row : rows) {
    std::string name = TrimField(row.Name);
    const std::string tagsText = TrimField(row.Tags);
    if (name.empty() || tagsText.empty()) continue;
    TMetaTag metaTag{std::move(name), {}};
    std::size_t from = 0;
    while (from <= tagsText.size()) {
      const std::size_t comma = std::min(tagsText.find(',', from), tagsText.size());
      std::string piece = TrimField(std::string_view(tagsText).substr(from, comma - from));
      if (!piece.empty()) metaTag.Tags.push_back(std::move(piece));
      from = comma + 1;
    }
    metaTags.push_back(std::move(metaTag));
  }
  return metaTags;
}

std::string JoinMetaTagList(const std::vector<std::string>& tags) {
  std::string text;
  for (const std::string& tag : tags) {
    if (!text.empty()) text += ", ";
    text += tag;
  }
  return text;
}

void ReadWordTagSettings(const IniFile& ini, ConcordConfig& config) {
  const char* section = kWordTagSettingsSection;
  config.wTagStarts.clear();
  config.MetaTags.clear();
  config.WordTag = static_cast<std::uint8_t>(std::clamp(ini.ReadInteger(section, "WordTag", 0), 0, 2));
  config.wTagDelimiter = ReadTrimmedChar(ini, "wTagDelimiter", '_');
  config.wTagStop = ReadTrimmedChar(ini, "wTagStop", '>');
  config.wTagBefore = ini.ReadBool(section, "wTagBefore", false);
  ReadList(ini, section, "wTagStarts", config.wTagStarts);

  // The two meta-tag lists are parallel, so they are read by position.
  const int count = std::clamp(ini.ReadInteger(section, "MetaTagNamesCount", 0), 0, kMaxListEntries);
  const int stringsCount = std::clamp(ini.ReadInteger(section, "MetaTagStringsCount", count), 0, kMaxListEntries);
  std::vector<TMetaTagRow> rows;
  for (int i = 0; i < count; ++i) {
    TMetaTagRow row;
    row.Name = ini.ReadString(section, ListKey(kMetaTagNames, i, count), "");
    if (i < stringsCount) row.Tags = ini.ReadString(section, ListKey(kMetaTagStrings, i, stringsCount), "");
    rows.push_back(std::move(row));
  }
  config.MetaTags = BuildMetaTags(rows);
}

void WriteWordTagSettings(IniFile& ini, const ConcordConfig& config) {
  const char* section = kWordTagSettingsSection;
  ini.WriteInteger(section, "WordTag", config.WordTag);
  WriteChar(ini, section, "wTagDelimiter", config.wTagDelimiter);
  ini.WriteBool(section, "wTagBefore", config.wTagBefore);
  WriteChar(ini, section, "wTagStop", config.wTagStop);
  WriteList(ini, section, "wTagStarts", config.wTagStarts);
  std::vector<std::string> names, strings;
  for (const TMetaTag& metaTag : config.MetaTags) {
    names.push_back(metaTag.Name);
    strings.push_back(JoinMetaTagList(metaTag.Tags));
  }
  WriteList(ini, section, kMetaTagNames, names);
  WriteList(ini, section, kMetaTagStrings, strings);
}

bool CanConfirmWordTags(const TWordTagDialogValues& values) {
  return !values.Outside || !NonBlankCells(values.StartCells).empty();
}

bool WordTagReadingChanged(const ConcordConfig& config, const TWordTagDialogValues& values) {
  const std::uint8_t wordTag = WordTagOf(values);
  if (wordTag != config.WordTag) return true;
  if (wordTag == 1) return values.Delimiter != config.wTagDelimiter;
  if (wordTag == 2) return values.Stop != config.wTagStop || NonBlankCells(values.StartCells) != config.wTagStarts;
  return false;
}

bool StoreWordTagSettings(ConcordConfig& config, const TWordTagDialogValues& values) {
  config.MetaTags = BuildMetaTags(values.MetaTagRows);
  const bool changed = WordTagReadingChanged(config, values);
  config.WordTag = WordTagOf(values);
  config.wTagDelimiter = values.Delimiter;
  if (config.WordTag == 1) std::erase(config.NonWordChars, config.wTagDelimiter);
  config.wTagStop = values.Stop;
  config.wTagBefore = values.Before;
  config.wTagStarts = NonBlankCells(values.StartCells);
  return changed;
}

void CheckMetaTagName(std::string_view name, const std::vector<TMetaTagRow>& rows, int editedRow,
                      const LanguageState& language) {
  const std::string lowered = language.LowerCaseCopy(TrimField(name));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (i == editedRow || TrimField(rows[i].Name).empty()) continue;
    if (language.LowerCaseCopy(TrimField(rows[i].Name)) == lowered) throw Exception("Duplicated meta-tag name.");
  }
}

}  // namespace korvane
