// TStopList: the words (usually function words) that word lists, batch
// frequency files, collocates and advanced collocation leave out while the
// list is active. The words come from a text file of one word per line or
// from the "StopList" section of the configuration.
//
// IsStopWord answers as a comparison of the word with every stop word in the
// language's collation would, with or without case; it looks the word up in
// a hashed set of collation keys instead of scanning the list.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace korvane {

class Host;
class IniFile;
class LanguageState;

class TStopList {
 public:
  // language must outlive the list.
  explicit TStopList(const LanguageState& language) : language_(language) {}

  // The file the words come from; empty when they live in the configuration.
  std::string StopListFileName;

  const std::vector<std::string>& Words() const { return words_; }
  // Replaces the words (the editor's list); the active flag is kept only
  // while there are words.
  void SetWords(std::vector<std::string> words);
  bool Active() const { return active_; }

  // Active exactly when requested and the list has words; returns whether
  // it has words.
  bool SetActive(bool requested);
  // Empties the words and takes name as the file (empty: none).
  void SwitchFile(const std::string& name);

  // False while inactive; otherwise whether word equals a stop word in the
  // language's collation, ignoring case when ignoreCase.
  bool IsStopWord(std::string_view word, bool ignoreCase) const;

  // Loads StopListFileName's lines as the words (LF or CR LF). When the file
  // cannot be read, shows "Unable to load stop-list words from file \r\n" +
  // name through host and empties the list. Active exactly when it has words.
  void LoadFromFile(Host& host);
  // Writes the words, one a line with CR LF, to path. Throws Exception
  // "Unable to save to file \r\n" + path; the old file is then unchanged.
  void SaveToFile(const std::string& path) const;

  // The configuration: StopListFileName in "FrequencyConfiguration", and the
  // words in "StopList" when there is no file. Read leaves the list active
  // exactly when it has words.
  void Read(const IniFile& ini, Host& host);
  // Writes StopListFileName; without a file and with words, replaces the
  // "StopList" section; without words leaves that section alone.
  void Write(IniFile& ini) const;

 private:
  void Changed() { keysBuilt_ = false; }

  const LanguageState& language_;
  std::vector<std::string> words_;
  bool active_ = false;
  // Lookup sets, rebuilt on first use after the words or the case rule
  // changed: the stop words' bytes, and their collation keys.
  mutable bool keysBuilt_ = false;
  mutable bool keysIgnoreCase_ = false;
  mutable std::unordered_set<std::string> exact_;
  mutable std::unordered_set<std::string> keys_;
};

}  // namespace korvane
