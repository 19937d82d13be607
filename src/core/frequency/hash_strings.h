// THashStrings: the word-frequency table.
#pragma once

namespace korvane {

class THashStrings {
 public:
  virtual ~THashStrings() = default;
  // Number of distinct words.
  virtual int Count() const { return 0; }
};

}  // namespace korvane
