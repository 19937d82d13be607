#include "search/concord_config.h"

#include "app/ini_file.h"

namespace korvane {

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

bool CompileEqualCharText(const std::string&, CharSetArray&) { return true; }

void ConcordConfig::Load(const IniFile&) {}
void ConcordConfig::Save(IniFile&) const {}

}  // namespace korvane
