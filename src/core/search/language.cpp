// The language state: setting a language, rebuilding the character tables,
// case mapping by table, comparison through the collator, and the
// "Language" key of the configuration.
#include "search/language.h"

#include <memory>

#include "app/config_file.h"
#include "app/ini_file.h"

namespace korvane {

namespace {

constexpr const char* kLanguageKey = "Language";

// A string of the code page as UTF-16: on the stack for words, on the heap
// for longer texts.
class Utf16Text {
 public:
  Utf16Text(const CodePageTables& tables, std::string_view bytes) {
    char16_t* out = small_;
    if (bytes.size() > kSmall) {
      large_ = std::make_unique<char16_t[]>(bytes.size());
      out = large_.get();
    }
    length_ = static_cast<std::int32_t>(tables.ToUnicode(bytes, out));
    data_ = out;
  }
  const char16_t* data() const { return data_; }
  std::int32_t length() const { return length_; }

 private:
  static constexpr std::size_t kSmall = 128;
  char16_t small_[kSmall];
  std::unique_ptr<char16_t[]> large_;
  const char16_t* data_ = nullptr;
  std::int32_t length_ = 0;
};

}  // namespace

LanguageState::LanguageState(const ConcordConfig& config, LanguageId userDefault)
    : userDefault_(userDefault),
      language_(userDefault),
      doubleByte_(IsDoubleByteLanguage(userDefault)),
      codePage_(BuildCodePageTables(CodePageOfLanguage(userDefault))),
      collator_(LocaleOfLanguage(userDefault)) {
  RebuildCharTables(config);
}

void LanguageState::SetLanguage(LanguageId id, const ConcordConfig& config) {
  CodePageTables codePage = BuildCodePageTables(CodePageOfLanguage(id));
  Collator collator(LocaleOfLanguage(id));
  language_ = id;
  doubleByte_ = IsDoubleByteLanguage(id);
  codePage_ = std::move(codePage);
  collator_ = std::move(collator);
  RebuildCharTables(config);
}

bool LanguageState::SelectLanguage(std::string_view name, const ConcordConfig& config) {
  LanguageId id = LanguageIdOfName(name);
  if (id == 0 || id == language_) return false;
  SetLanguage(id, config);
  return true;
}

void LanguageState::RebuildCharTables(const ConcordConfig& config) {
  tables_.CharType = AdjustCharTypes(codePage_.Classes, config.NonWordChars);
  tables_.WordSyntax = BuildWordSyntax(tables_.CharType);
  RebuildTranslateTable(config);
}

void LanguageState::RebuildTranslateTable(const ConcordConfig& config) {
  tables_.Translate =
      BuildTranslateTable(tables_.CharType, codePage_.Lower, codePage_.Upper, config);
}

void LanguageState::LowerCaseInPlace(char* text, std::size_t length) const {
  const ByteTable& lower = codePage_.Lower;
  if (!codePage_.HasLeadBytes()) {
    for (std::size_t i = 0; i < length; ++i)
      text[i] = static_cast<char>(lower[static_cast<unsigned char>(text[i])]);
    return;
  }
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (codePage_.LeadByte[c])
      ++i;  // the trail byte is not a character of its own
    else
      text[i] = static_cast<char>(lower[c]);
  }
}

std::string LanguageState::LowerCaseCopy(std::string_view text) const {
  std::string copy(text);
  LowerCaseInPlace(copy);
  return copy;
}

int LanguageState::CompareStr(std::string_view a, std::string_view b, bool ignoreCase) const {
  Utf16Text ua(codePage_, a);
  Utf16Text ub(codePage_, b);
  return collator_.Compare(ua.data(), ua.length(), ub.data(), ub.length(), ignoreCase);
}

CollationKey LanguageState::SortKey(std::string_view text, bool ignoreCase) const {
  Utf16Text u(codePage_, text);
  return collator_.Key(u.data(), u.length(), ignoreCase);
}

std::u16string LanguageState::ToUnicode(std::string_view text) const {
  std::u16string result;
  codePage_.AppendUnicode(text, result);
  return result;
}

void LanguageState::Read(const IniFile& ini, const ConcordConfig& config) {
  LanguageId id = static_cast<LanguageId>(ini.ReadInteger(kGeneralSection, kLanguageKey,
                                                          static_cast<std::int32_t>(userDefault_)));
  if (id != userDefault_ && LanguageName(id).empty()) id = userDefault_;
  SetLanguage(id, config);
}

void LanguageState::Write(IniFile& ini) const {
  ini.WriteInteger(kGeneralSection, kLanguageKey, static_cast<std::int32_t>(language_));
}

}  // namespace korvane
