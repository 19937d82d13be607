// TBufStream: the buffered reader over one source stream (being written).
#pragma once

namespace korvane {

class TSynchroStream;

class TBufStream {
 public:
  explicit TBufStream(TSynchroStream* source) : source_(source) {}

 private:
  TSynchroStream* source_;
};

}  // namespace korvane
