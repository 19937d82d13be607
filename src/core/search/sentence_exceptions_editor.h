// What the sentence exceptions editor does besides showing the list: it
// works on the live exceptions list and keeps a copy taken when it opened,
// so that Cancel can undo every change; it loads and saves exceptions files
// and reports their errors; it asks before clearing and before throwing
// changes away. The dialog only shows the words and passes on the clicks.
//
// All members belong to the user-interface thread; those that ask or report
// wait for the user's answer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class Host;
class LanguageState;
class SentenceSettings;

class SentenceExceptionsEditor {
 public:
  SentenceExceptionsEditor(SentenceSettings& settings, const LanguageState& language, Host& host);

  const std::vector<std::string>& Words() const;
  // The file last loaded or saved ("Words in file:"); empty when none.
  const std::string& FileName() const { return fileName_; }
  // True when the list differs from the copy taken at the start.
  bool Modified() const;

  // Adds a typed word: trimmed, lower-cased, one final full stop removed.
  // Returns its index to select, or -1 when it was empty or already listed.
  int Add(std::string_view typed);
  void Remove(const std::vector<std::string>& selected);
  // When the list is not empty, asks "Remove all words from list?" (OK and
  // Cancel, OK focused) and empties it on OK. Returns whether it emptied.
  bool Clear();

  // Writes the list to fileName and remembers the name and its folder. On
  // failure shows "Unable to save to file " + line break + fileName and
  // forgets the name. Returns whether the file was written.
  bool Save(const std::string& fileName);
  // Remembers the folder of fileName and replaces the list with the file's
  // words. On failure shows "Unable to load words from " + line break +
  // fileName; the list keeps its content. Returns whether the file was read.
  bool Load(const std::string& fileName);

  // Cancel: without changes, true. With changes, asks "Setting are
  // modified." + carriage return + "Are you sure that you want to exit
  // without saving changes ?" (OK and Cancel, OK focused); OK restores the
  // copy and returns true, Cancel returns false and the editor stays.
  bool Cancel();

 private:
  SentenceSettings& settings_;
  const LanguageState& language_;
  Host& host_;
  std::vector<std::string> original_;
  std::string fileName_;
};

}  // namespace korvane
