// TFileHandle: the smallest possible raw file reader, for quick looks at a
// file before it becomes a corpus text (the test whether a file holds text
// reads its first bytes through it). It keeps its own position so that
// reading on from where the last read stopped costs no seek. The file is
// opened for reading while others may read it too, and closed when the
// object goes.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class TFileHandle {
 public:
  TFileHandle() = default;
  ~TFileHandle();
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  // Opens the file for reading (closing any file opened before). Returns
  // false, and leaves the handle closed with size -1, when the file cannot be
  // opened or is a directory. The position starts at 0.
  bool Open(const std::string& fileName);

  // Reads up to count bytes into buffer. A negative offset reads on at the
  // current position; any other offset is sought only when it differs from
  // the position. The position grows by the number of bytes actually read.
  // Returns that number (0 at the end of the file), or -1 when the handle is
  // not open or the file cannot be read.
  std::int32_t ReadAt(std::int64_t offset, std::int32_t count, void* buffer);

  // Closes the file; the size returns to -1. Harmless when nothing is open.
  void Close();

  bool IsOpen() const { return handle_ >= 0; }
  std::int64_t Position() const { return position_; }
  // The file's size in bytes, -1 while no file is open.
  std::int64_t Size() const { return size_; }

 private:
  int handle_ = -1;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;
};

}  // namespace korvane
