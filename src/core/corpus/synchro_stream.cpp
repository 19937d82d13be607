#include "corpus/synchro_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/errors.h"

namespace korvane {

std::int32_t TSynchroStream::ReadAt(void* buffer, std::int32_t count, std::int32_t& position) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Seek(position, 0);
  const std::int32_t n = Read(buffer, count);
  if (n > 0) position += n;
  return n;
}

std::int32_t TSynchroStream::SeekAt(std::int32_t offset, int origin, std::int32_t& position) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  position = Seek(offset, origin);
  return position;
}

int TFileSynchroStream::OpenFile(const std::string& fileName, TFileOpenMode mode, std::int32_t& size) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case TFileOpenMode::ReadShareWrite: flags |= O_RDONLY; break;
    case TFileOpenMode::ReadWriteShareWrite: flags |= O_RDWR; break;
    case TFileOpenMode::CreateReadWrite: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const int fd = ::open(fileName.c_str(), flags, 0644);
  if (fd < 0) throw Exception(UnableToOpenFileMessage(fileName));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw Exception(UnableToOpenFileMessage(fileName));
  }
  if (st.st_size >= kMaxTextSize) {
    ::close(fd);
    throw Exception("File is too large (2 GB or more): " + fileName + ".");
  }
  size = static_cast<std::int32_t>(st.st_size);
  return fd;
}

TFileSynchroStream::TFileSynchroStream(const std::string& fileName, TFileOpenMode mode)
    : fileName_(fileName), mode_(mode) {
  handle_ = OpenFile(fileName, mode, size_);
}

TFileSynchroStream::~TFileSynchroStream() {
  if (handle_ >= 0) ::close(handle_);
  if (PrivateCopy) std::remove(fileName_.c_str());
}

std::int32_t TFileSynchroStream::GetSize() { return size_; }

bool TFileSynchroStream::WaitFor(std::int32_t) { return true; }

std::int32_t TFileSynchroStream::Read(void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  std::int32_t total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    const ssize_t n = ::read(handle_, out + total, static_cast<std::size_t>(count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += static_cast<std::int32_t>(n);
  }
  return total;
}

std::int32_t TFileSynchroStream::Write(const void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  std::int32_t total = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (total < count) {
    const ssize_t n = ::write(handle_, in + total, static_cast<std::size_t>(count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += static_cast<std::int32_t>(n);
  }
  const off_t end = ::lseek(handle_, 0, SEEK_CUR);
  if (end > size_ && end < kMaxTextSize) size_ = static_cast<std::int32_t>(end);
  return total;
}

std::int32_t TFileSynchroStream::Seek(std::int32_t offset, int origin) {
  const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  const off_t result = ::lseek(handle_, offset, whence);
  return result < 0 ? -1 : static_cast<std::int32_t>(result);
}

void TFileSynchroStream::SaveToFile(const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const int target = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (target < 0) throw Exception(UnableToOpenFileMessage(fileName));
  char buffer[8192];
  Seek(0, 0);
  bool ok = true;
  for (;;) {
    const std::int32_t n = Read(buffer, sizeof buffer);
    if (n > 0 && ::write(target, buffer, static_cast<std::size_t>(n)) != n) ok = false;
    if (n < static_cast<std::int32_t>(sizeof buffer) || !ok) break;
  }
  ok = (::close(target) == 0) && ok;
  Seek(size_, 0);
  if (!ok) throw Exception("Unable to write file: " + fileName + ".");
}

void TFileSynchroStream::SwitchToFile(const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::int32_t size = 0;
  const int fd = OpenFile(fileName, mode_ == TFileOpenMode::CreateReadWrite ? TFileOpenMode::ReadWriteShareWrite : mode_, size);
  ::close(handle_);
  handle_ = fd;
  size_ = size;
  fileName_ = fileName;
  Seek(0, 2);
}

}  // namespace korvane
