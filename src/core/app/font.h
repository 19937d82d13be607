// A font as the settings store it: name, size in points, style bits, colour
// (Windows colour value 0x00BBGGRR) and character set.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

inline constexpr std::int32_t clBlack = 0x000000;
inline constexpr std::int32_t clRed = 0x0000FF;
inline constexpr std::int32_t clBlue = 0xFF0000;

struct TFont {
  std::string Name;
  int Size = 0;
  int Style = 0;  // set of TFontStyle bits
  std::int32_t Color = clBlack;
  int Charset = 0;

  bool operator==(const TFont&) const = default;
};

// The system's stock font, used before the configuration file is read.
inline TFont SystemDefaultFont() { return TFont{"System", 10, 0, clBlack, 1}; }
// The dialogs' default font.
inline TFont DefaultDialogFont() { return TFont{"MS Sans Serif", 8, 0, clBlack, 1}; }

}  // namespace korvane
