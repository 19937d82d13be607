// Building the tables of a code page: every byte, and for double-byte code
// pages every lead/trail pair, goes once through the ICU converter; the
// class bits and case forms come from the Unicode properties of the result.
#include "search/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <memory>

#include "app/errors.h"
#include "search/language_table.h"

namespace korvane {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Opens the converter so that undefined bytes report an error instead of
// becoming a substitute character.
ConverterPtr OpenStrictConverter(std::uint32_t codePage) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(ConverterNameOfCodePage(codePage).c_str(), &status));
  if (U_SUCCESS(status))
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
  if (U_FAILURE(status) || !converter)
    throw Exception("The code page " + std::to_string(codePage) + " is not available.");
  return converter;
}

enum class Decoded { Character, Truncated, Undefined };

// Decodes bytes that should form exactly one BMP character.
Decoded DecodeOne(UConverter* converter, const char* bytes, int32_t length, char16_t& result) {
  UChar units[4];
  UErrorCode status = U_ZERO_ERROR;
  int32_t count = ucnv_toUChars(converter, units, 4, bytes, length, &status);
  if (status == U_TRUNCATED_CHAR_FOUND) return Decoded::Truncated;
  if (U_FAILURE(status) || count != 1 || U16_IS_SURROGATE(units[0])) return Decoded::Undefined;
  result = units[0];
  return Decoded::Character;
}

std::uint8_t ClassesOf(UChar32 u) {
  std::uint8_t bits = 0;
  if (u_isspace(u)) bits |= kCtSpace;
  if (u_isblank(u)) bits |= kCtBlank;
  if (u_charType(u) == U_CONTROL_CHAR) bits |= kCtCntrl;
  if (u_isdigit(u)) bits |= kCtDigit;
  // Hexadecimal digits are the ASCII ones; other scripts' digits are not.
  if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')) bits |= kCtXDigit;
  if (u_isUUppercase(u)) bits |= kCtUpper;
  if (u_isULowercase(u)) bits |= kCtLower;
  if (bits & (kCtDigit | kCtUpper | kCtLower)) return bits;
  if (u_isUAlphabetic(u)) return bits | kCtLetter;
  if (u_isgraph(u)) bits |= kCtPunct;
  return bits;
}

// The byte whose character is u, or -1.
int ByteOf(const CodePageTables& tables, const std::array<bool, 256>& defined, UChar32 u) {
  for (int b = 0; b < 256; ++b)
    if (defined[b] && tables.Unicode[b] == u) return b;
  return -1;
}

}  // namespace

CodePageTables BuildCodePageTables(std::uint32_t codePage) {
  ConverterPtr converter = OpenStrictConverter(codePage);
  CodePageTables tables;
  tables.CodePage = codePage;
  std::array<bool, 256> defined{};

  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    char16_t u = kReplacement;
    switch (DecodeOne(converter.get(), &byte, 1, u)) {
      case Decoded::Character:
        defined[b] = true;
        tables.Classes[b] = ClassesOf(u);
        break;
      case Decoded::Truncated:
        tables.LeadByte[b] = true;
        tables.Classes[b] = kCtLetter;
        break;
      case Decoded::Undefined:
        break;
    }
    tables.Unicode[b] = defined[b] ? u : kReplacement;
  }

  for (int b = 0; b < 256; ++b) {
    tables.Lower[b] = tables.Upper[b] = static_cast<std::uint8_t>(b);
    if (!defined[b]) continue;
    int lower = ByteOf(tables, defined, u_tolower(tables.Unicode[b]));
    int upper = ByteOf(tables, defined, u_toupper(tables.Unicode[b]));
    if (lower >= 0) tables.Lower[b] = static_cast<std::uint8_t>(lower);
    if (upper >= 0) tables.Upper[b] = static_cast<std::uint8_t>(upper);
  }

  bool doubleByte = false;
  for (bool lead : tables.LeadByte) doubleByte = doubleByte || lead;
  if (doubleByte) {
    tables.DoubleByteUnicode.assign(256 * 256, kReplacement);
    for (int lead = 0; lead < 256; ++lead) {
      if (!tables.LeadByte[lead]) continue;
      for (int trail = 0; trail < 256; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char16_t u = kReplacement;
        if (DecodeOne(converter.get(), pair, 2, u) == Decoded::Character)
          tables.DoubleByteUnicode[lead * 256 + trail] = u;
      }
    }
  }
  return tables;
}

std::size_t CodePageTables::ToUnicode(std::string_view bytes, char16_t* out) const {
  std::size_t n = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (!LeadByte[c]) {
      out[n++] = Unicode[c];
    } else if (i + 1 < bytes.size()) {
      out[n++] = DoubleByteUnicode[c * 256 + static_cast<unsigned char>(bytes[++i])];
    } else {
      out[n++] = kReplacement;
    }
  }
  return n;
}

void CodePageTables::AppendUnicode(std::string_view bytes, std::u16string& out) const {
  std::size_t start = out.size();
  out.resize(start + bytes.size());
  out.resize(start + ToUnicode(bytes, out.data() + start));
}

}  // namespace korvane
