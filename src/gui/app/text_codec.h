// TextCodec: turns the bytes of a corpus text (single bytes of the language's
// code page) into what Qt draws. One byte becomes one UTF-16 unit, so that
// character positions of the core (format segments, hit offsets) stay valid
// in the decoded line. The table is built once from ICU through the core's
// code-page tables.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

namespace korvane::gui {

class TextCodec {
 public:
  // Windows-1252 (Western European), the code page of the default language.
  TextCodec();
  // Throws Exception when ICU has no converter for the code page.
  explicit TextCodec(std::uint32_t codePage);

  QString Decode(std::string_view bytes) const;

 private:
  std::array<char16_t, 256> unicode_{};
};

}  // namespace korvane::gui
