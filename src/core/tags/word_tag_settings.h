// The part-of-speech tag settings: where word tags stand (inside the word
// after a delimiter, or as markup beside it) and the meta-tags, names that
// stand for a group of tags in a tag search. The dialog keeps its values in
// TWordTagDialogValues and its meta-tag grid as TMetaTagRow rows and calls
// the rules here on OK. Load and save use the section "Word Tag Settings".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/concord_config.h"

namespace korvane {

class IniFile;
class LanguageState;

inline constexpr const char* kWordTagSettingsSection = "Word Tag Settings";

// One row of the meta-tag grid: the name and the tags joined by ", ".
struct TMetaTagRow {
  std::string Name;
  std::string Tags;
};

// The meta-tags of the rows whose trimmed name and tags are both non-empty;
// the tags text is split at "," and the trimmed non-empty pieces kept.
std::vector<TMetaTag> BuildMetaTags(const std::vector<TMetaTagRow>& rows);
// The tags of one meta-tag as the grid and the configuration file show them.
std::string JoinMetaTagList(const std::vector<std::string>& tags);

// Reads "Word Tag Settings" into config, replacing wTagStarts and MetaTags.
void ReadWordTagSettings(const IniFile& ini, ConcordConfig& config);
void WriteWordTagSettings(IniFile& ini, const ConcordConfig& config);

// The values of the dialog's controls.
struct TWordTagDialogValues {
  bool Embedded = false;  // "Embedded in Word"
  bool Outside = false;   // "Outside Word"; wins over Embedded
  char Delimiter = '_';
  char Stop = '>';
  bool Before = false;
  std::vector<std::string> StartCells;  // the tag-start grid as typed
  std::vector<TMetaTagRow> MetaTagRows;
};

// False when "Outside Word" is ticked and every tag-start cell is blank: the
// dialog then stays open.
bool CanConfirmWordTags(const TWordTagDialogValues& values);
// Whether the dialog's values read words differently from config (meta-tags
// do not count).
bool WordTagReadingChanged(const ConcordConfig& config, const TWordTagDialogValues& values);
// The dialog's OK: builds the meta-tags, stores the values in config (with
// an embedded tag, the delimiter leaves NonWordChars so that it does not end
// words) and returns whether the reading of words changed.
bool StoreWordTagSettings(ConcordConfig& config, const TWordTagDialogValues& values);

// Throws Exception("Duplicated meta-tag name.") when name, trimmed and
// lower-cased, equals the lower-cased name of another non-empty row;
// editedRow is the row being edited, or -1 when a row is added.
void CheckMetaTagName(std::string_view name, const std::vector<TMetaTagRow>& rows, int editedRow,
                      const LanguageState& language);

}  // namespace korvane
