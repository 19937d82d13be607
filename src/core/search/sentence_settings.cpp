// Sentence delimiters, the abbreviation test, the exceptions list with its
// configuration sections and its file.
#include "search/sentence_settings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "search/field_text.h"
#include "search/language.h"

namespace korvane {

namespace {

constexpr const char* kExceptsSection = "SentDelimitersExcepts";
constexpr const char* kExceptsList = "Word";
constexpr const char* kSentenceSection = "FullSentence";

// Trimmed and without one final full stop; the case stays.
std::string StripException(std::string_view word) {
  std::string stripped = TrimField(word);
  if (!stripped.empty() && stripped.back() == '.') stripped.pop_back();
  return stripped;
}

// The lines of a text; LF, CR LF and CR end a line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

std::string NormaliseException(std::string_view word, const LanguageState& language) {
  std::string normalised = StripException(word);
  language.LowerCaseInPlace(normalised);
  return normalised;
}

void SentenceSettings::SetSentDelimiters(std::string_view text) {
  sentDelimiters_.clear();
  isDelimiter_.fill(false);
  for (char c : text) {
    if (c == ' ') continue;
    sentDelimiters_ += c;
    isDelimiter_[static_cast<unsigned char>(c)] = true;
  }
}

void SentenceSettings::SetSortedExceptions(std::vector<std::string> words) {
  std::erase(words, std::string());
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  exceptions_ = std::move(words);
  longestException_ = 0;
  for (const std::string& word : exceptions_)
    longestException_ = std::max(longestException_, word.size());
}

void SentenceSettings::SetExceptions(const std::vector<std::string>& words,
                                     const LanguageState& language) {
  std::vector<std::string> normalised;
  normalised.reserve(words.size());
  for (const std::string& word : words) normalised.push_back(NormaliseException(word, language));
  SetSortedExceptions(std::move(normalised));
}

void SentenceSettings::NormaliseExceptions(const LanguageState& language) {
  SetExceptions(exceptions_, language);
}

int SentenceSettings::AddException(std::string_view word, const LanguageState& language) {
  std::string normalised = NormaliseException(word, language);
  if (normalised.empty()) return -1;
  auto at = std::lower_bound(exceptions_.begin(), exceptions_.end(), normalised);
  if (at != exceptions_.end() && *at == normalised) return -1;
  longestException_ = std::max(longestException_, normalised.size());
  at = exceptions_.insert(at, std::move(normalised));
  return static_cast<int>(at - exceptions_.begin());
}

void SentenceSettings::RemoveException(std::string_view listedWord) {
  auto at = std::lower_bound(exceptions_.begin(), exceptions_.end(), listedWord);
  if (at != exceptions_.end() && *at == listedWord) exceptions_.erase(at);
}

bool SentenceSettings::IsAbbreviation(std::string_view word, const LanguageState& language) const {
  if (word.empty() || word.back() != '.') return false;
  if (SmartAbbrDetect)
    return word.size() <= 4 && language.IsUpperCaseLetter(static_cast<unsigned char>(word[0]));

  std::string_view stem = word.substr(0, word.size() - 1);
  if (stem.empty() || stem.size() > longestException_) return false;
  // Words are short: fold them on the stack.
  char small[64];
  std::string large;
  char* folded = small;
  if (stem.size() > sizeof small) {
    large.resize(stem.size());
    folded = large.data();
  }
  std::copy(stem.begin(), stem.end(), folded);
  language.LowerCaseInPlace(folded, stem.size());
  return std::binary_search(exceptions_.begin(), exceptions_.end(),
                            std::string_view(folded, stem.size()));
}

void SentenceSettings::Read(const IniFile& ini) {
  std::vector<std::string> words;
  ReadList(ini, kExceptsSection, kExceptsList, words);
  for (std::string& word : words) word = StripException(word);
  SetSortedExceptions(std::move(words));
  SetSentDelimiters(ini.ReadString(kSentenceSection, "SentDelimiters", ".!?"));
  SentDelimitersPath = ini.ReadString(kSentenceSection, "SentDelimitersPath", "");
  SmartAbbrDetect = ini.ReadBool(kSentenceSection, "SmartAbbrDetect", false);
}

void SentenceSettings::Write(IniFile& ini) const {
  WriteList(ini, kExceptsSection, kExceptsList, exceptions_);
  ini.WriteString(kSentenceSection, "SentDelimiters", sentDelimiters_);
  ini.WriteString(kSentenceSection, "SentDelimitersPath", SentDelimitersPath);
  ini.WriteBool(kSentenceSection, "SmartAbbrDetect", SmartAbbrDetect);
}

void SentenceSettings::SaveExceptions(const std::string& fileName) const {
  std::string text;
  for (const std::string& word : exceptions_) text += word + "\r\n";
  WriteFileAtomically(fileName, text, "Unable to save to file \n" + fileName);
}

void SentenceSettings::LoadExceptions(const std::string& fileName, const LanguageState& language) {
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(fileName, error)) in.open(fileName, std::ios::binary);
  std::string contents;
  if (in.is_open()) contents.assign(std::istreambuf_iterator<char>(in), {});
  if (!in.is_open() || in.bad()) throw Exception("Unable to load words from \n" + fileName);
  SetExceptions(SplitLines(contents), language);
}

}  // namespace korvane
