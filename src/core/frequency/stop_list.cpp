// TStopList: loading, saving and the hashed stop-word test.
#include "frequency/stop_list.h"

#include <fstream>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/host.h"
#include "app/ini_file.h"
#include "app/text_lines.h"
#include "frequency/hash_strings.h"
#include "search/language.h"

namespace korvane {
namespace {

constexpr const char* kFreqSection = "FrequencyConfiguration";
constexpr const char* kStopSection = "StopList";

}  // namespace

void TStopList::SetWords(std::vector<std::string> words) {
  words_ = std::move(words);
  if (words_.empty()) active_ = false;
  Changed();
}

bool TStopList::SetActive(bool requested) {
  active_ = requested && !words_.empty();
  return !words_.empty();
}

void TStopList::SwitchFile(const std::string& name) {
  words_.clear();
  active_ = false;
  StopListFileName = name;
  Changed();
}

bool TStopList::IsStopWord(std::string_view word, bool ignoreCase) const {
  if (!active_) return false;
  if (!keysBuilt_ || keysIgnoreCase_ != ignoreCase) {
    exact_.clear();
    keys_.clear();
    for (const std::string& w : words_) {
      exact_.insert(w);
      keys_.insert(language_.SortKey(w, ignoreCase).Bytes());
    }
    keysBuilt_ = true;
    keysIgnoreCase_ = ignoreCase;
  }
  if (exact_.count(std::string(word)) != 0) return true;
  return keys_.count(language_.SortKey(word, ignoreCase).Bytes()) != 0;
}

void TStopList::LoadFromFile(Host& host) {
  host.SetBusyCursor(true);
  words_.clear();
  try {
    words_ = ReadTextLines(StopListFileName);
    host.SetBusyCursor(false);
  } catch (const Exception&) {
    host.SetBusyCursor(false);
    host.ShowError("Unable to load stop-list words from file \r\n" + StopListFileName);
  }
  active_ = !words_.empty();
  Changed();
}

void TStopList::SaveToFile(const std::string& path) const {
  std::string bytes;
  for (const std::string& w : words_) bytes += w + "\r\n";
  WriteFileAtomically(path, bytes, UnableToSaveMessage(path));
}

void TStopList::Read(const IniFile& ini, Host& host) {
  StopListFileName = ini.ReadString(kFreqSection, "StopListFileName", "");
  if (!StopListFileName.empty()) {
    LoadFromFile(host);
    return;
  }
  words_.clear();
  ReadList(ini, kStopSection, "Word", words_);
  active_ = !words_.empty();
  Changed();
}

void TStopList::Write(IniFile& ini) const {
  ini.WriteString(kFreqSection, "StopListFileName", StopListFileName);
  if (StopListFileName.empty() && !words_.empty()) {
    ini.EraseSection(kStopSection);
    WriteList(ini, kStopSection, "Word", words_);
  }
}

}  // namespace korvane
