#include "search/concord_config.h"

#include <algorithm>

#include "app/config_file.h"
#include "app/host.h"
#include "app/ini_file.h"

namespace korvane {
namespace {

constexpr const char* kSection = "ConcordanceConfiguration";
constexpr const char* kContextSizeKeys[4] = {"ContextChars", "ContextWords", "ContextLines",
                                             "ContextSentences"};
constexpr std::int32_t kDefaultContextSizes[4] = {40, 8, 3, 1};

struct HistoryList {
  const char* section;
  const char* name;
  std::vector<std::string> ConcordConfig::*list;
};
constexpr HistoryList kHistories[] = {
    {"DelimiterHistory", "NonWordChars", &ConcordConfig::DelimiterHistory},
    {"SkippingHistory", "SkippingChars", &ConcordConfig::SkippingHistory},
    {"EqualHistory", "EqualChars", &ConcordConfig::EqualHistory},
};

std::string TagDelimiterMessage(char delimiter) {
  return "\"" + std::string(1, delimiter) + "\" is tag delimiter and can't be a word delimiter.\r" +
         "Symbol will be deleted from word delimiters.";
}

std::string WrongEqualCharsMessage() { return "Wrong \"equal characters\" syntax"; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// One group "a=b=c": members alternate with "=", every member a character
// of code 65 or above; a trailing "=" is accepted.
bool CompileEqualCharGroup(std::string_view group, CharSet& members) {
  for (std::size_t i = 0; i < group.size(); i += 2) {
    const auto member = static_cast<unsigned char>(group[i]);
    if (member < 'A') return false;
    if (i + 1 < group.size() && group[i + 1] != '=') return false;
    members.set(member);
  }
  return true;
}

}  // namespace

ConcordConfig::ConcordConfig() { ResetFonts(); }

void ConcordConfig::ResetFonts() {
  NormalFont = SystemDefaultFont();
  HiliteFont = SystemDefaultFont();
  HiliteFont.Color = clBlue;
  CollocateFont = SystemDefaultFont();
  CollocateFont.Color = clRed;
}

CharSet ConcordConfig::DelimiterSet() const {
  CharSet set;
  for (int c = 0; c <= 32; ++c) set.set(c);
  for (unsigned char c : NonWordChars) set.set(c);
  for (char w : {WildCard0orMore, WildCard0or1, WildCardExactly1, WildCardMatchWords})
    set.set(static_cast<unsigned char>(w));
  return set;
}

CharSet ConcordConfig::SearchDelimiterSet(const std::string& skippingChars) const {
  CharSet set;
  for (int c = 0; c <= 32; ++c) set.set(c);
  for (unsigned char c : NonWordChars) set.set(c);
  for (char w : {WildCard0orMore, WildCard0or1, WildCardExactly1}) set.set(static_cast<unsigned char>(w));
  for (unsigned char c : skippingChars) set.reset(c);
  return set;
}

bool ConcordConfig::CompileEqualChars() { return CompileEqualCharText(EqualChars, EqualCharSets); }

bool ConcordConfig::IsEqualChar(unsigned char a, unsigned char b) const {
  if (a == b) return true;
  if (!UseSkipEqualChars) return false;
  for (const CharSet& group : EqualCharSets)
    if (group.test(a) && group.test(b)) return true;
  return false;
}

bool CompileEqualCharText(const std::string& text, CharSetArray& groups) {
  std::string rest;
  for (char c : TrimBlanks(text))
    if (c != ' ') rest += c;
  if (!rest.empty() && rest.back() != ';') rest += ';';
  CharSetArray compiled;
  std::size_t start = 0;
  while (start < rest.size()) {
    const std::size_t end = rest.find(';', start);
    const std::string_view group = std::string_view(rest).substr(start, end - start);
    CharSet members;
    if (group.empty() || !CompileEqualCharGroup(group, members)) return false;
    if (members.any()) compiled.push_back(members);
    start = end + 1;
  }
  groups = std::move(compiled);
  return true;
}

void ConcordConfig::Load(const IniFile& ini) {
  MaximumHits = ini.ReadInteger(kSection, "MaximumHits", 500);
  // Guard: the scan divides by FrequencyOfHits, so a stored 0 or a negative
  // value must never reach it.
  FrequencyOfHits = std::max(ini.ReadInteger(kSection, "FrequencyOfHits", 1), 1);
  const std::int32_t contextType = ini.ReadInteger(kSection, "ContextType", 0);
  ContextType = contextType >= 0 && contextType <= 3 ? static_cast<std::uint8_t>(contextType) : 0;
  for (int i = 0; i < 4; ++i)
    ContextSizes[i] = ini.ReadInteger(kSection, kContextSizeKeys[i], kDefaultContextSizes[i]);
  NonWordChars = ini.ReadString(kSection, "NonWordChars", kDefaultNonWordChars);
  SkippingChars = ini.ReadString(kSection, "SkippingChars", "-=");
  EqualChars = ini.ReadString(kSection, "EqualChars", "");
  CompileEqualChars();  // an invalid text keeps the previous groups
  WildCard0orMore = ReadChar(ini, kSection, "WildCard0orMore", '*');
  WildCard0or1 = ReadChar(ini, kSection, "WildCard0or1", '%');
  WildCardExactly1 = ReadChar(ini, kSection, "WildCardExactly1", '?');
  WildCardMatchWords = ReadChar(ini, kSection, "WildCardMatchWords", '@');
  MatchWordsLo = static_cast<std::uint8_t>(ini.ReadInteger(kSection, "MatchWordsLo", 2));
  MatchWordsHi = static_cast<std::uint8_t>(ini.ReadInteger(kSection, "MatchWordsHi", 5));
  TagSearchSeparator = ReadChar(ini, kSection, "TagSearchSeparator", '&');
  ReadFont(ini, kSection, "NormalFont", NormalFont);
  ReadFont(ini, kSection, "HiliteFont", HiliteFont);
  // Without a key of its own the collocate font follows the highlight font, in red.
  CollocateFont = HiliteFont;
  CollocateFont.Color = clRed;
  ReadFont(ini, kSection, "CollocateFont", CollocateFont);
  HighlightCollocates = ini.ReadBool(kSection, "HighlightCollocates", true);
  BigContextSize = ini.ReadInteger(kSection, "BigContextSize", 10);
  if (BigContextSize < 1 || BigContextSize > 31) BigContextSize = 10;
  for (const HistoryList& history : kHistories) ReadList(ini, history.section, history.name, this->*history.list);
}

void ConcordConfig::Save(IniFile& ini) const {
  ini.WriteInteger(kSection, "MaximumHits", MaximumHits);
  ini.WriteInteger(kSection, "FrequencyOfHits", FrequencyOfHits);
  ini.WriteInteger(kSection, "ContextType", ContextType);
  for (int i = 0; i < 4; ++i) ini.WriteInteger(kSection, kContextSizeKeys[i], ContextSizes[i]);
  ini.WriteString(kSection, "NonWordChars", NonWordChars);
  ini.WriteString(kSection, "SkippingChars", SkippingChars);
  ini.WriteString(kSection, "EqualChars", EqualChars);
  WriteChar(ini, kSection, "WildCard0orMore", WildCard0orMore);
  WriteChar(ini, kSection, "WildCard0or1", WildCard0or1);
  WriteChar(ini, kSection, "WildCardExactly1", WildCardExactly1);
  WriteChar(ini, kSection, "WildCardMatchWords", WildCardMatchWords);
  ini.WriteInteger(kSection, "MatchWordsLo", MatchWordsLo);
  ini.WriteInteger(kSection, "MatchWordsHi", MatchWordsHi);
  WriteChar(ini, kSection, "TagSearchSeparator", TagSearchSeparator);
  WriteFont(ini, kSection, "NormalFont", NormalFont);
  WriteFont(ini, kSection, "HiliteFont", HiliteFont);
  WriteFont(ini, kSection, "CollocateFont", CollocateFont);
  ini.WriteBool(kSection, "HighlightCollocates", HighlightCollocates);
  ini.WriteInteger(kSection, "BigContextSize", BigContextSize);
  for (const HistoryList& history : kHistories) WriteList(ini, history.section, history.name, this->*history.list);
}

TSearchOptionsResult ApplySearchOptions(ConcordConfig& config, const TSearchOptionsValues& values,
                                        Host& host) {
  const auto wordDefinition = [&config] {
    return config.NonWordChars + config.WildCard0orMore + config.WildCard0or1 + config.WildCardExactly1 +
           config.WildCardMatchWords;
  };
  const std::string oldWordDefinition = wordDefinition();

  config.MaximumHits = values.MaximumHits;
  config.FrequencyOfHits = values.FrequencyOfHits;
  config.ContextType = values.ContextType;
  config.ContextSizes[values.ContextType & 3] = values.ContextSize;
  config.NonWordChars = values.NonWordChars;
  // An embedded part-of-speech tag is found by its delimiter inside the
  // word, so that character cannot also end words.
  if (config.WordTag == 1) {
    const std::size_t at = config.NonWordChars.find(config.wTagDelimiter);
    if (at != std::string::npos) {
      config.NonWordChars.erase(at, 1);
      host.ShowInfo(TagDelimiterMessage(config.wTagDelimiter));
    }
  }
  config.SkippingChars = values.SkippingChars;
  config.EqualChars = values.EqualChars;
  config.WildCard0orMore = values.WildCard0orMore;
  config.WildCard0or1 = values.WildCard0or1;
  config.WildCardExactly1 = values.WildCardExactly1;
  config.WildCardMatchWords = values.WildCardMatchWords;
  config.MatchWordsLo = values.MatchWordsLo;
  config.MatchWordsHi = values.MatchWordsHi;
  if (!values.TagSearchSeparator.empty()) config.TagSearchSeparator = values.TagSearchSeparator.front();
  config.HighlightCollocates = values.HighlightCollocates;

  TSearchOptionsResult result;
  result.WordDefinitionChanged = wordDefinition() != oldWordDefinition;
  result.EqualCharsValid = config.CompileEqualChars();
  if (!result.EqualCharsValid) {
    host.ShowError(WrongEqualCharsMessage());
    return result;  // the dialog stays open
  }
  if (values.BigContextSize != config.BigContextSize) {
    config.BigContextSize = values.BigContextSize;
    host.BigContextSizeChanged();
  }
  return result;
}

}  // namespace korvane
