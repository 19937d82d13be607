// TIndexedStream: a file of fixed-width records of 32-bit integers with an
// in-memory index of every block's first record; the line, page and
// tracked-tag tables of a text are kept in it.
#pragma once

namespace korvane {

class TIndexedStream {
 public:
  virtual ~TIndexedStream() = default;
};

}  // namespace korvane
