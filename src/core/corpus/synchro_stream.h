// Source streams: random access to the raw bytes of a text. A stream keeps
// one file position, so every seek-and-read pair goes through ReadAt/SeekAt,
// which hold the stream's lock and work on a position variable that the
// caller owns. Several readers, on several threads, can so share one source.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace korvane {

class TSynchroStream {
 public:
  TSynchroStream() = default;
  virtual ~TSynchroStream() = default;
  TSynchroStream(const TSynchroStream&) = delete;
  TSynchroStream& operator=(const TSynchroStream&) = delete;

  // Total size in bytes. A download whose size is still undetermined reports
  // the largest 32-bit value.
  virtual std::int32_t GetSize() = 0;
  // True when at least count bytes are available or the source is complete.
  virtual bool WaitFor(std::int32_t count) = 0;
  // Reads at the stream's own position; returns the number of bytes read.
  virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
  virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
  // origin 0 from the beginning, 1 from the current position, 2 from the end;
  // returns the new position.
  virtual std::int32_t Seek(std::int32_t offset, int origin) = 0;

  void Lock() { lock_.lock(); }
  void Unlock() { lock_.unlock(); }

  // Under the lock: seek to position, read up to count bytes, add the number
  // read to position and return it. Safe from any thread.
  std::int32_t ReadAt(void* buffer, std::int32_t count, std::int32_t& position);
  // Under the lock: seek and store the resulting position. Safe from any thread.
  std::int32_t SeekAt(std::int32_t offset, int origin, std::int32_t& position);

 protected:
  std::recursive_mutex lock_;
};

// How a file source is opened. Corpus files are read while others may write;
// cached URL documents and download files are read and written.
enum class TFileOpenMode : std::uint16_t { ReadShareWrite, ReadWriteShareWrite, CreateReadWrite };

// The largest text the program reads: positions are 32-bit signed.
inline constexpr std::int64_t kMaxTextSize = 0x7FFFFFFF;

class TFileSynchroStream : public TSynchroStream {
 public:
  // Opens the file. Throws Exception "Unable to open file: %s." when it
  // cannot be opened, and a clear message when it holds 2 GiB or more.
  TFileSynchroStream(const std::string& fileName, TFileOpenMode mode);
  // Closes the file, and deletes it when it is a private copy.
  ~TFileSynchroStream() override;

  std::int32_t GetSize() override;
  bool WaitFor(std::int32_t count) override;
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  std::int32_t Seek(std::int32_t offset, int origin) override;

  // Copies the whole source into a new file (truncated first).
  void SaveToFile(const std::string& fileName);
  // Continues on another file with the same content (a copy made by the
  // workspace), closing the old handle.
  void SwitchToFile(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }
  TFileOpenMode Mode() const { return mode_; }

  // Where the document is kept for a workspace: a corpus file is its own
  // keeping (its name); a URL document has the path of its copy in a
  // workspace's data folder, or nothing while no workspace holds it.
  std::string SavedAs;
  // The file is the program's own temporary file (a download or a private
  // copy of a workspace's document) and is deleted with the stream.
  bool PrivateCopy = false;

 protected:
  // Remeasures the size; a growing download file calls it after appending.
  void SetSize(std::int32_t size) { size_ = size; }

 private:
  static int OpenFile(const std::string& fileName, TFileOpenMode mode, std::int32_t& size);

  std::string fileName_;
  TFileOpenMode mode_;
  std::int32_t size_ = 0;
  int handle_ = -1;
};

}  // namespace korvane
