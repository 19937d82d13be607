// Conversions at the boundary between the core and Qt: colours (the core keeps
// Windows colour values, 0x00BBGGRR), fonts (TFont, TSVFontInfo) and strings
// (the core's messages and file names are UTF-8).
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

#include "app/font.h"
#include "results/sv_format.h"

namespace korvane::gui {

QColor ToQColor(std::int32_t windowsColor);
std::int32_t ToWindowsColor(const QColor& color);

// The Qt font of a stored font (name, size in points, style bits). The colour
// is not part of a QFont; see ToQColor(font.Color).
QFont ToQFont(const TFont& font);
// The stored font of a Qt font with a colour; the character set is kept from
// base.
TFont ToTFont(const QFont& font, const QColor& color, const TFont& base);
// base changed by the fields a format segment sets (name, style, size).
QFont ApplyFontInfo(const QFont& base, const TSVFontInfo& info);

inline QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace korvane::gui
