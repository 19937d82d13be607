// Byte-to-character table of one code page, from the core's code-page tables.
#include "gui/app/text_codec.h"

#include "search/code_page.h"

namespace korvane::gui {

TextCodec::TextCodec() : TextCodec(1252) {}

TextCodec::TextCodec(std::uint32_t codePage) {
  const CodePageTables tables = BuildCodePageTables(codePage);
  unicode_ = tables.Unicode;
  // Control characters and undefined bytes keep a visible form of their own.
  for (int b = 0; b < 256; ++b)
    if (unicode_[static_cast<std::size_t>(b)] == 0xFFFD && b < 0x80) unicode_[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
}

QString TextCodec::Decode(std::string_view bytes) const {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (std::size_t i = 0; i < bytes.size(); ++i)
    out[i] = QChar(unicode_[static_cast<unsigned char>(bytes[i])]);
  return text;
}

}  // namespace korvane::gui
