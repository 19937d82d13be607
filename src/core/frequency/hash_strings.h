// THashStrings: the word-frequency table.
#pragma once

namespace korvane {

class THashStrings {
 public:
  virtual ~THashStrings() = default;
};

}  // namespace korvane
