// The headings list: lookup without regard to case, the editor's rules for
// adding and replacing, and the "Headings" sections of the configuration.
#include "search/headings.h"

#include "app/config_file.h"
#include "app/host.h"
#include "app/ini_file.h"
#include "search/field_text.h"
#include "search/language.h"

namespace korvane {

namespace {

constexpr const char* kHeadingsSection = "Headings";
constexpr const char* kNamesList = "Names";

std::string HeadingSection(const std::string& name) { return "Heading." + name; }

}  // namespace

std::string MarkerText(std::string_view marker) {
  std::string text(marker);
  for (char& c : text)
    if (c == '#') c = ' ';
  return text;
}

bool HeadingFieldsComplete(const THeading& heading) {
  const THeadRecord& r = heading.Record;
  for (const std::string* field : {&heading.Name, &r.HeadStart, &r.HeadStop, &r.TextStart, &r.TextStop})
    if (TrimField(*field).empty()) return false;
  return true;
}

std::vector<std::string> HeadingsList::Names() const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  for (const THeading& heading : items_) names.push_back(heading.Name);
  return names;
}

int HeadingsList::IndexOf(std::string_view name, const LanguageState& language) const {
  const std::string wanted = language.LowerCaseCopy(name);
  for (int i = 0; i < Count(); ++i)
    if (items_[i].Name.size() == wanted.size() && language.LowerCaseCopy(items_[i].Name) == wanted)
      return i;
  return -1;
}

bool HeadingsList::Lookup(std::string_view name, const LanguageState& language,
                          THeadRecord& record) const {
  int index = IndexOf(name, language);
  if (index < 0) return false;
  record = items_[index].Record;
  return true;
}

bool HeadingsList::Accept(Host& host, const LanguageState& language, int editedIndex,
                          THeading heading) {
  // The configuration file trims values, so a name with spaces around it
  // would not survive saving; the name is kept as it was checked.
  heading.Name = TrimField(heading.Name);
  int existing = IndexOf(heading.Name, language);
  if (existing >= 0 && existing != editedIndex) {
    host.ShowWarning("Heading with name \"" + heading.Name + "\" already exists.");
    return false;
  }
  if (editedIndex >= 0 && editedIndex < Count()) Remove(editedIndex);
  items_.push_back(std::move(heading));
  return true;
}

void HeadingsList::Remove(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

bool HeadingsList::AskRemove(Host& host, int index) {
  if (index < 0 || index >= Count()) return false;
  if (!host.WarnYesNo("Remove \"" + items_[index].Name + "\"?", false)) return false;
  Remove(index);
  return true;
}

void HeadingsList::Read(const IniFile& ini, const LanguageState& language) {
  std::vector<std::string> names;
  ReadList(ini, kHeadingsSection, kNamesList, names);
  items_.clear();
  for (const std::string& name : names) {
    THeading heading{name, {}};
    THeadRecord& r = heading.Record;
    const std::string section = HeadingSection(name);
    r.HeadStart = ini.ReadString(section, "HeadStart", "");
    r.HeadStop = ini.ReadString(section, "HeadStop", "");
    r.TextStart = ini.ReadString(section, "TextStart", "");
    r.TextStop = ini.ReadString(section, "TextStop", "");
    if (r.HeadStart.empty() || r.HeadStop.empty() || r.TextStart.empty() || r.TextStop.empty())
      continue;
    if (IndexOf(name, language) >= 0) continue;
    items_.push_back(std::move(heading));
  }
}

void HeadingsList::Write(IniFile& ini) const {
  WriteList(ini, kHeadingsSection, kNamesList, Names());
  for (const THeading& heading : items_) {
    const std::string section = HeadingSection(heading.Name);
    ini.WriteString(section, "HeadStart", heading.Record.HeadStart);
    ini.WriteString(section, "HeadStop", heading.Record.HeadStop);
    ini.WriteString(section, "TextStart", heading.Record.TextStart);
    ini.WriteString(section, "TextStop", heading.Record.TextStop);
  }
}

}  // namespace korvane
