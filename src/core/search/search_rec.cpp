// The search request: the syntax names and the copy a prepared search keeps.
#include "search/search_rec.h"

namespace korvane {

const char* SearchModeName(TSearchMode mode) {
  switch (mode) {
    case smRegex: return "Regex";
    case smTag: return "Tag";
    case smText: break;
  }
  return "Text";
}

TSearchRec TSearchRec::PreparedCopy() const {
  TSearchRec copy;
  copy.Mode = Mode;
  copy.Flags = Flags;
  copy.LeftContext = LeftContext;
  copy.RightContext = RightContext;
  copy.HeadStart = HeadStart;
  copy.HeadingPattern = HeadingPattern;
  copy.HeadStop = HeadStop;
  copy.TextStart = TextStart;
  copy.TextStop = TextStop;
  copy.SkippingChars = SkippingChars;
  return copy;
}

}  // namespace korvane
