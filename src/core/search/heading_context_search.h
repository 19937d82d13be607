// The headings/contexts search options: whether a search is restricted to
// texts under a chosen heading whose heading text matches a pattern, and
// whether it is restricted to stretches between a left and a right context
// pattern; with the histories of the three pattern boxes and the heading
// last chosen. The search dialog validates the patterns and copies them into
// the request.
#pragma once

#include <string>
#include <vector>

namespace korvane {

class HeadingsList;
class IniFile;
class LanguageState;

struct HeadingContextSearch {
  bool HeadingSearch = false;
  std::string HeadingName;
  std::string HeadingPattern;
  bool ContextSearch = false;
  std::string LeftContext;
  std::string RightContext;

  std::vector<std::string> HeadingHistory;
  std::vector<std::string> LeftHistory;
  std::vector<std::string> RightHistory;
  // The heading selected when the dialog shows; read with the configuration
  // and written back unchanged.
  std::string LastHeading;

  // The lists "Heading", "Left", "Right" and the key "LastHeading" of
  // section "SearchHistory".
  void Read(const IniFile& ini);
  void Write(IniFile& ini) const;
};

// The entry of the heading choice to select: the heading named lastHeading,
// else the first; -1 when there are no headings, and heading search cannot be
// switched on.
int SelectedHeadingIndex(const HeadingsList& headings, const std::string& lastHeading,
                         const LanguageState& language);

}  // namespace korvane
