// Named headings: each is a pair of markers that delimits a heading in a
// text and a pair that delimits the text belonging to it, so that a search
// can be restricted to the texts under matching headings. The list keeps
// the user's order; names are unique without regard to case.
//
// In a marker "#" stands for a space, since the configuration file cannot
// keep a space at the end of a value; a marker that ends with a space must be
// followed in the text by a space, carriage return or line feed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class Host;
class IniFile;
class LanguageState;

struct THeadRecord {
  std::string HeadStart;
  std::string HeadStop;
  std::string TextStart;
  std::string TextStop;

  bool operator==(const THeadRecord&) const = default;
};

struct THeading {
  std::string Name;
  THeadRecord Record;

  bool operator==(const THeading&) const = default;
};

// A marker as it is looked for in the text: every "#" becomes a space.
std::string MarkerText(std::string_view marker);

// True when the name and the four markers are all non-empty after trimming
// spaces: only then can a heading be accepted.
bool HeadingFieldsComplete(const THeading& heading);

class HeadingsList {
 public:
  const std::vector<THeading>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  std::vector<std::string> Names() const;

  // The index of the heading named name without regard to case (in the
  // language's case tables); -1 when there is none.
  int IndexOf(std::string_view name, const LanguageState& language) const;
  // The markers of the heading named name; false, and record untouched, when
  // there is none.
  bool Lookup(std::string_view name, const LanguageState& language, THeadRecord& record) const;

  // Adds or replaces a heading as the heading editor's OK does. editedIndex
  // is the heading being edited, or -1 for a new one. The name is trimmed;
  // the markers are kept as typed. A name that another heading already has
  // is refused with the warning "Heading with name "<name>" already exists."
  // and nothing changes. An accepted new heading goes to the end; an edited
  // one is removed from its place and added at the end. Returns whether the
  // heading was accepted.
  bool Accept(Host& host, const LanguageState& language, int editedIndex, THeading heading);
  void Remove(int index);
  // Asks "Remove "<name>"?" (a warning with Yes and No, No focused) and
  // removes the heading at index on Yes. Returns whether it was removed.
  bool AskRemove(Host& host, int index);
  void Clear() { items_.clear(); }

  // Loads list "Names" of section "Headings" and each heading's markers from
  // section "Heading." + name. A heading is loaded only when all four
  // markers are present and non-empty, and only once per name.
  void Read(const IniFile& ini, const LanguageState& language);
  void Write(IniFile& ini) const;

 private:
  std::vector<THeading> items_;
};

}  // namespace korvane
