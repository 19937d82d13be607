// The sentence settings: which characters end a sentence, and which words
// ending in a full stop do not, either by their form (smart abbreviation
// detection: "Dr.", "U.S.") or because they are listed as exceptions
// ("etc", "e.g"). Sentence mode and sentence contexts ask the two tests here
// for every candidate sentence end, so both are table lookups and a binary
// search without allocation.
//
// The exceptions list holds lower-case words without their final full stop,
// sorted and each once.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class IniFile;
class LanguageState;

// A word as the exceptions list keeps it: trimmed, lower-cased, and without
// one final full stop ("E.g." -> "e.g"). Empty when nothing is left.
std::string NormaliseException(std::string_view word, const LanguageState& language);

class SentenceSettings {
 public:
  SentenceSettings() { SetSentDelimiters(".!?"); }

  const std::string& SentDelimiters() const { return sentDelimiters_; }
  // Takes the delimiters as edited: every space is removed (". ! ?" -> ".!?").
  void SetSentDelimiters(std::string_view text);
  bool IsSentenceDelimiter(unsigned char c) const { return isDelimiter_[c]; }

  bool SmartAbbrDetect = false;
  // The folder of the exceptions file last loaded or saved.
  std::string SentDelimitersPath;

  const std::vector<std::string>& Exceptions() const { return exceptions_; }
  // Replaces the list with the normalised words; empty words and repeats
  // are dropped.
  void SetExceptions(const std::vector<std::string>& words, const LanguageState& language);
  // Adds a word normalised. Returns its index in the list, or -1 when
  // nothing was added (nothing left after normalising, or already listed).
  int AddException(std::string_view word, const LanguageState& language);
  void RemoveException(std::string_view listedWord);
  void ClearExceptions() { exceptions_.clear(); }

  // word is a text word with its delimiter appended. With smart detection it
  // is an abbreviation when it has at most 4 bytes, begins with an
  // upper-case letter and ends with a full stop; without, when it ends with
  // a full stop and, without that and lower-cased, is in the exceptions
  // list. Such a word does not end the sentence.
  bool IsAbbreviation(std::string_view word, const LanguageState& language) const;

  // Section "SentDelimitersExcepts" (list "Word") and the keys
  // "SentDelimiters", "SentDelimitersPath", "SmartAbbrDetect" of
  // "FullSentence". The exceptions are trimmed and lose a final full stop,
  // but their case is kept until NormaliseExceptions: the configuration
  // names its language only after these sections, and a word must be
  // lower-cased in the code page it was written in.
  void Read(const IniFile& ini);
  void Write(IniFile& ini) const;
  // Lower-cases the exceptions in the current language and restores the
  // list's order.
  void NormaliseExceptions(const LanguageState& language);

  // The exceptions file: one word per line, lines ending with CR LF. Saving
  // writes through a temporary file; on failure throws Exception "Unable to
  // save to file " + line break + fileName, and the old file is unchanged.
  void SaveExceptions(const std::string& fileName) const;
  // Replaces the list with the file's lines, normalised (LF, CR LF and CR
  // line ends). On failure throws Exception "Unable to load words from " +
  // line break + fileName; the list is unchanged.
  void LoadExceptions(const std::string& fileName, const LanguageState& language);

 private:
  std::string sentDelimiters_;
  std::array<bool, 256> isDelimiter_{};
  std::vector<std::string> exceptions_;
  std::size_t longestException_ = 0;

  void SetSortedExceptions(std::vector<std::string> words);
};

}  // namespace korvane
