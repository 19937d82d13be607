// The headings/contexts search options in section "SearchHistory".
#include "search/heading_context_search.h"

#include "app/config_file.h"
#include "app/ini_file.h"
#include "search/headings.h"

namespace korvane {

namespace {
constexpr const char* kSection = "SearchHistory";
}  // namespace

void HeadingContextSearch::Read(const IniFile& ini) {
  ReadList(ini, kSection, "Heading", HeadingHistory);
  ReadList(ini, kSection, "Left", LeftHistory);
  ReadList(ini, kSection, "Right", RightHistory);
  LastHeading = ini.ReadString(kSection, "LastHeading", "");
}

void HeadingContextSearch::Write(IniFile& ini) const {
  WriteList(ini, kSection, "Heading", HeadingHistory);
  WriteList(ini, kSection, "Left", LeftHistory);
  WriteList(ini, kSection, "Right", RightHistory);
  ini.WriteString(kSection, "LastHeading", LastHeading);
}

int SelectedHeadingIndex(const HeadingsList& headings, const std::string& lastHeading,
                         const LanguageState& language) {
  if (headings.Count() == 0) return -1;
  int index = headings.IndexOf(lastHeading, language);
  return index >= 0 ? index : 0;
}

}  // namespace korvane
