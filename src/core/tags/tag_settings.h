// The normal tag settings: the tag characters, the page delimiter, the line
// and page display switches, and the tracked tags (TWatchedTag) whose values
// are given to every hit. The settings dialogs keep their tracked-tag grid as
// rows of TTrackedTagRow and call the rules here: re-wrapping the texts when
// the tag characters change, checking the tracked-tag editor, deciding what
// a change releases. Load and save use the sections "Tag Settings" and
// "Watched." + name of the configuration file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class ConcordConfig;
class Corpus;
class IniFile;
class LanguageState;

inline constexpr const char* kTagSettingsSection = "Tag Settings";
inline constexpr const char* kWatchedSectionPrefix = "Watched.";

// One tracked tag. Element tags hold whole tags (TagStart + text + TagStop)
// in WatchStart and WatchStop; a COCOA reference holds the bare reference
// name in WatchStart and nothing in WatchStop.
struct TWatchedTag {
  std::string WatchName;
  std::string WatchStart;
  std::string WatchStop;
  std::int32_t WatchStartLen = 0;
  std::int32_t WatchStopLen = 0;
  bool WatchCocoa = false;  // set exactly when WatchStop is empty
  // Collection state, used only while a text's tag information is collected.
  std::vector<std::int32_t> HitPositions;
  std::int32_t HitCapacity = 0;
  std::int32_t HitCount = 0;
  std::int32_t LastPosition = 0;

  // A tag with its lengths and COCOA flag derived from the texts.
  static TWatchedTag Make(std::string name, std::string start, std::string stop);
  // The name shown to the user: the name, or the start when it is empty.
  const std::string& DisplayName() const { return WatchName.empty() ? WatchStart : WatchName; }
};

// One row of the tracked-tag grid: name, start and stop cells.
struct TTrackedTagRow {
  std::string Name;
  std::string Start;
  std::string Stop;
  bool Empty() const { return Name.empty() && Start.empty() && Stop.empty(); }
  bool operator==(const TTrackedTagRow&) const = default;
};

// Replaces tags by one tag for each row whose name or start is not empty.
void RebuildWatchedTags(const std::vector<TTrackedTagRow>& rows, std::vector<TWatchedTag>& tags);
// The grid rows that show tags.
std::vector<TTrackedTagRow> TrackedTagRows(const std::vector<TWatchedTag>& tags);

// Reads "Tag Settings" and the "Watched." sections into config and tags.
// Missing keys give their defaults; never throws for odd values.
void ReadTagSettings(const IniFile& ini, ConcordConfig& config, std::vector<TWatchedTag>& tags);
void WriteTagSettings(IniFile& ini, const ConcordConfig& config, const std::vector<TWatchedTag>& tags);

// Throws Exception with the refusal when c may not start tags ("#").
void CheckTagStart(char c);
// The page delimiter as the dialog keeps it: trimmed, and when not empty
// with the start character in front and the stop character at the end.
std::string WrapPageDelimiter(std::string_view text, char start, char stop);
// Moves the page delimiter and every row from the old tag characters to the
// new ones. An empty delimiter and empty stops stay empty; the start of a
// COCOA reference (empty stop) gets no tag characters.
void RewrapTagTexts(char oldStart, char oldStop, char newStart, char newStop, std::string& pageDelimiter,
                    std::vector<TTrackedTagRow>& rows);

// Whether the tracked-tag editor's OK is enabled for these fields.
bool TrackedTagAcceptable(std::string_view start, std::string_view stop, bool cocoa);
// Throws Exception("Duplicated tag name.") when name, trimmed and lower-cased
// in the language, equals the lower-cased name of another row; editedRow is
// the row being edited, or -1 when a row is added.
void CheckTrackedTagName(std::string_view name, const std::vector<TTrackedTagRow>& rows, int editedRow,
                         const LanguageState& language);

// What the dialog's OK decided: tracked tags or tag characters changed, and
// whether the page delimiter differs from its value before the dialog.
struct TTagSettingsChange {
  bool TagsChanged = false;
  bool PageDelimiterChanged = false;
};
// Releases what a change invalidates: every text's tracked-tag table when
// the tags changed, every page table when the page delimiter changed. The
// released tables are rebuilt by the next collection.
void ReleaseChangedTagTables(Corpus& corpus, const TTagSettingsChange& change);

}  // namespace korvane
