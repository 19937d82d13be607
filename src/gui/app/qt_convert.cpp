// Colour, font and string conversions between the core's stored forms and Qt.
#include "gui/app/qt_convert.h"

namespace korvane::gui {

QColor ToQColor(std::int32_t c) {
  const auto v = static_cast<std::uint32_t>(c);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t ToWindowsColor(const QColor& color) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                   static_cast<std::uint32_t>(color.green()) << 8 |
                                   static_cast<std::uint32_t>(color.blue()) << 16);
}

namespace {
void ApplyStyle(QFont& font, int style) {
  font.setBold((style & fsBold) != 0);
  font.setItalic((style & fsItalic) != 0);
  font.setUnderline((style & fsUnderline) != 0);
  font.setStrikeOut((style & fsStrikeOut) != 0);
}
}  // namespace

QFont ToQFont(const TFont& font) {
  QFont q;
  if (!font.Name.empty()) q.setFamily(QString::fromStdString(font.Name));
  if (font.Size > 0) q.setPointSize(font.Size);
  ApplyStyle(q, font.Style);
  return q;
}

TFont ToTFont(const QFont& font, const QColor& color, const TFont& base) {
  TFont t = base;
  t.Name = font.family().toStdString();
  t.Size = font.pointSize() > 0 ? font.pointSize() : base.Size;
  t.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) | (font.underline() ? fsUnderline : 0) |
            (font.strikeOut() ? fsStrikeOut : 0);
  t.Color = ToWindowsColor(color);
  return t;
}

QFont ApplyFontInfo(const QFont& base, const TSVFontInfo& info) {
  QFont font = base;
  if (!info.Name.empty()) font.setFamily(QString::fromStdString(info.Name));
  if (info.Style >= 0) ApplyStyle(font, info.Style);
  if (info.Size > 0) font.setPointSize(info.Size);
  return font;
}

}  // namespace korvane::gui
