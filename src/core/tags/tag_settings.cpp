// Load, save and the dialog rules of the normal tag settings.
#include "tags/tag_settings.h"

#include <algorithm>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "corpus/corpus.h"
#include "search/concord_config.h"
#include "search/language.h"

namespace korvane {

namespace {

constexpr const char* kWatchedNames = "WatchedNames";

std::string TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A tag character: spaces trimmed, empty gives the default, first character kept.
char ReadTagChar(const IniFile& ini, const char* section, const char* key, char defaultValue) {
  const std::string value = TrimSpaces(ini.ReadString(section, key, std::string(1, defaultValue)));
  return value.empty() ? defaultValue : value.front();
}

void ReplaceFront(std::string& text, char oldChar, char newChar, bool addNew) {
  if (!text.empty() && text.front() == oldChar) text.erase(0, 1);
  if (addNew) text.insert(text.begin(), newChar);
}

void ReplaceBack(std::string& text, char oldChar, char newChar, bool addNew) {
  if (!text.empty() && text.back() == oldChar) text.pop_back();
  if (addNew) text.push_back(newChar);
}

}  // namespace

TWatchedTag TWatchedTag::Make(std::string name, std::string start, std::string stop) {
  TWatchedTag tag;
  tag.WatchName = std::move(name);
  tag.WatchStart = std::move(start);
  tag.WatchStop = std::move(stop);
  tag.WatchStartLen = static_cast<std::int32_t>(tag.WatchStart.size());
  tag.WatchStopLen = static_cast<std::int32_t>(tag.WatchStop.size());
  tag.WatchCocoa = tag.WatchStop.empty();
  return tag;
}

void RebuildWatchedTags(const std::vector<TTrackedTagRow>& rows, std::vector<TWatchedTag>& tags) {
  tags.clear();
  for (const TTrackedTagRow& row : rows) {
    if (row.Name.empty() && row.Start.empty()) continue;
    tags.push_back(TWatchedTag::Make(row.Name, row.Start, row.Stop));
  }
}

std::vector<TTrackedTagRow> TrackedTagRows(const std::vector<TWatchedTag>& tags) {
  std::vector<TTrackedTagRow> rows;
  rows.reserve(tags.size());
  for (const TWatchedTag& tag : tags) rows.push_back({tag.WatchName, tag.WatchStart, tag.WatchStop});
  return rows;
}

void ReadTagSettings(const IniFile& ini, ConcordConfig& config, std::vector<TWatchedTag>& tags) {
  const char* section = kTagSettingsSection;
  config.TagStart = ReadTagChar(ini, section, "TagStart", '<');
  config.TagStop = ReadTagChar(ini, section, "TagStop", '>');
  config.PageSeparator = TrimSpaces(ini.ReadString(section, "PageSeparator", ""));
  config.ShowLines = ini.ReadBool(section, "ShowLines", false);
  config.ShowPages = ini.ReadBool(section, "ShowPages", false);
  config.RelativeLines = ini.ReadBool(section, "RelativeLines", false);

  // Names are read by position, empty ones included, so that every row
  // keeps its own "Watched." section.
  const int count = std::clamp(ini.ReadInteger(section, "WatchedNamesCount", 1), 0, kMaxListEntries);
  std::vector<TTrackedTagRow> rows;
  for (int i = 0; i < count; ++i) {
    TTrackedTagRow row;
    row.Name = ini.ReadString(section, ListKey(kWatchedNames, i, count), "");
    const std::string watched = kWatchedSectionPrefix + row.Name;
    row.Start = ini.ReadString(watched, "TagStart", "");
    row.Stop = ini.ReadString(watched, "TagStop", "");
    rows.push_back(std::move(row));
  }
  RebuildWatchedTags(rows, tags);
}

void WriteTagSettings(IniFile& ini, const ConcordConfig& config, const std::vector<TWatchedTag>& tags) {
  const char* section = kTagSettingsSection;
  WriteChar(ini, section, "TagStart", config.TagStart);
  WriteChar(ini, section, "TagStop", config.TagStop);
  ini.WriteString(section, "PageSeparator", config.PageSeparator);
  ini.WriteBool(section, "ShowLines", config.ShowLines);
  ini.WriteBool(section, "ShowPages", config.ShowPages);
  ini.WriteBool(section, "RelativeLines", config.RelativeLines);

  const std::vector<TTrackedTagRow> rows = TrackedTagRows(tags);
  const int count = static_cast<int>(std::min<std::size_t>(rows.size(), kMaxListEntries));
  ini.WriteInteger(section, "WatchedNamesCount", count);
  for (int i = 0; i < count; ++i) {
    ini.WriteString(section, ListKey(kWatchedNames, i, count), rows[i].Name);
    const std::string watched = kWatchedSectionPrefix + rows[i].Name;
    ini.WriteString(watched, "TagStart", rows[i].Start);
    ini.WriteString(watched, "TagStop", rows[i].Stop);
  }
}

void CheckTagStart(char c) {
  if (c == '#') throw Exception("Tag start could not be \"#\".");
}

std::string WrapPageDelimiter(std::string_view text, char start, char stop) {
  std::string result = TrimSpaces(text);
  if (result.empty()) return result;
  if (result.front() != start) result.insert(result.begin(), start);
  if (result.back() != stop) result.push_back(stop);
  return result;
}

void RewrapTagTexts(char oldStart, char oldStop, char newStart, char newStop, std::string& pageDelimiter,
                    std::vector<TTrackedTagRow>& rows) {
  if (!pageDelimiter.empty()) {
    ReplaceFront(pageDelimiter, oldStart, newStart, true);
    ReplaceBack(pageDelimiter, oldStop, newStop, true);
  }
  for (TTrackedTagRow& row : rows) {
    const bool element = !row.Stop.empty();
    if (!row.Start.empty()) {
      ReplaceFront(row.Start, oldStart, newStart, element);
      ReplaceBack(row.Start, oldStop, newStop, element);
    }
    if (element) {
      ReplaceFront(row.Stop, oldStart, newStart, true);
      ReplaceBack(row.Stop, oldStop, newStop, true);
    }
  }
}

bool TrackedTagAcceptable(std::string_view start, std::string_view stop, bool cocoa) {
  const std::string trimmedStart = TrimSpaces(start);
  if (trimmedStart.empty()) return false;
  if (cocoa) return trimmedStart.find(' ') == std::string::npos;
  return !TrimSpaces(stop).empty();
}

void CheckTrackedTagName(std::string_view name, const std::vector<TTrackedTagRow>& rows, int editedRow,
                         const LanguageState& language) {
  const std::string lowered = language.LowerCaseCopy(TrimSpaces(name));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (i == editedRow || rows[i].Empty()) continue;
    if (language.LowerCaseCopy(rows[i].Name) == lowered) throw Exception("Duplicated tag name.");
  }
}

void ReleaseChangedTagTables(Corpus& corpus, const TTagSettingsChange& change) {
  for (TCorpusText& text : corpus.Texts) {
    if (change.TagsChanged) text.WatchedTagTables.Release();
    if (change.PageDelimiterChanged) text.PageTables.Release();
  }
}

}  // namespace korvane
