// The public types of the line view TStringsView: what the owner's callbacks
// receive and fill, and the laid-out visible lines.
#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

#include "results/sv_format.h"

namespace korvane::gui {

using TSVFontsArray = std::vector<TSVFontInfo>;
// The sub-lines of one wrapped line, in order; together they are the line.
using TSVStringsArray = std::vector<QString>;

// The label of a line, drawn in the label column.
struct TSVLabelInfo {
  QString Text;
  std::uint8_t Kind = 0;  // 0 left-aligned, 1 right-aligned, 2 centred
  TSVFontInfo Font;
};

// One laid-out visible line.
struct TSVScreenDrawInfo {
  QRect Rect;
  TSVStringsArray Lines;
  TSVFormatArray Format;
  TSVLabelInfo Label;
  int Index = -1;
};
using TSVScreen = std::vector<TSVScreenDrawInfo>;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };

// The state a line is drawn in.
struct TSVOwnerDrawState {
  bool Selected = false;
  bool Disabled = false;
  bool Focused = false;  // the current line of the focused control
};

}  // namespace korvane::gui
