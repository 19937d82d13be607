// TFileStrings: a corpus text presented as a read-only list of lines, for the
// text viewer, which must show a text at once however large it is and while
// it is still downloading.
//
// A counting thread (TCountThread) scans the text in chunks of 64 KiB for
// line starts. It keeps the newest 4,096 of them in memory and appends every
// full block of 4,096 to a temporary "FST" offset file (32-bit little-endian
// offsets), so the index costs constant memory for any text size. A line's
// text is read on demand through the caller's TBufStream, from its start to
// the next line's start, with line breaks dropped and the display filters
// (tags, part-of-speech tags, words) applied.
//
// Line breaks are a carriage return + line feed pair, a carriage return alone
// and a line feed alone, also where a pair is split between two chunks. A text
// ending in a line break has one more, empty line at its end; an empty text has
// one empty line.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/errors.h"

namespace korvane {

class TSynchroStream;
class TBufStream;
class TCountThread;

// A read-only list of lines as the line view reads it: a count that may grow,
// and the text of each line on demand. Lines are bytes of the text's code page.
class TStrings {
 public:
  TStrings() = default;
  virtual ~TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // The number of lines known so far. Any thread.
  virtual std::int32_t GetCount() const = 0;
  // The text of line index (0 <= index < GetCount()). The list's owner thread.
  virtual std::string Get(std::int32_t index) = 0;
};

// The list error: a modifying method called on a read-only list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// "\"Clear\" method is invalid for TFileStrings." and its siblings.
std::string InvalidListMethodMessage(const std::string& method);

// The size of the chunks the counting thread reads, and of its block of line
// starts kept in memory.
inline constexpr std::int32_t kCountChunkSize = 65536;
inline constexpr std::int32_t kCountBlockSize = 4096;
// How many bytes before a line its reading starts, so that a tag opened
// there is recognised.
inline constexpr std::int32_t kLineLookBehind = 512;

class TFileStrings : public TStrings {
 public:
  // Raised on the counting thread: after every line start found, and once
  // when counting ends. The receiver passes them on to its own thread.
  using TNotifyEvent = std::function<void()>;

  // Remembers source and reader (neither owned; both must outlive the list),
  // creates the offset file and starts counting. The events must be set
  // before, since counting starts at once. Throws Exception when the offset
  // file cannot be created.
  TFileStrings(TSynchroStream& source, TBufStream& reader, TNotifyEvent onLineCounted = {},
               TNotifyEvent onCountDone = {});
  // Stops the counting thread (waiting for it) and deletes the offset file.
  ~TFileStrings() override;

  // Any thread.
  std::int32_t GetCount() const override { return count_.load(std::memory_order_acquire); }
  // The text of line index, read through the reader with the display filters.
  // Empty for an index outside the list. User-interface thread only.
  std::string Get(std::int32_t index) override;

  // The list is read-only: these throw EListError.
  void Clear();
  void Delete(std::int32_t index);
  void Insert(std::int32_t index, const std::string& text);

  // True once every line start of the text has been found.
  bool CountDone() const { return done_.load(std::memory_order_acquire); }
  // The source's size when the list was created.
  std::int32_t TextSize() const { return textSize_; }
  const std::string& OffsetFileName() const { return offsetFileName_; }

  // Display filters (at most two are on at a time; the viewer sees to that).
  bool SuppressTags = false;
  bool SuppressPartOfSpeech = false;
  bool SuppressWords = false;

 private:
  friend class TCountThread;

  // Start offset of line index. Under the lock while counting runs.
  std::int32_t LineStart(std::int32_t index);
  std::int32_t LineStartLocked(std::int32_t index);
  // The text of [start, end) with the filters applied.
  std::string ReadLine(std::int32_t start, std::int32_t end);

  TSynchroStream& source_;
  TBufStream& reader_;
  const std::int32_t textSize_;
  std::string offsetFileName_;
  int offsetFile_ = -1;

  // Guards the offset file, the block and the counting thread's source reads.
  std::mutex lock_;
  std::int32_t fileEntries_ = 0;                 // line starts in the offset file
  std::unique_ptr<std::int32_t[]> block_;        // line starts not yet in the file
  std::int32_t blockFill_ = 0;
  std::int32_t scannedSize_ = 0;                 // the text's size once counting is done

  std::atomic<std::int32_t> count_{0};
  std::atomic<bool> done_{false};
  TNotifyEvent onLineCounted_;
  TNotifyEvent onCountDone_;
  std::unique_ptr<TCountThread> thread_;
};

// The counting thread of one TFileStrings, running at lowered priority. It is
// owned by its list, which stops it (Terminate) and waits for it when the list
// goes.
class TCountThread {
 public:
  explicit TCountThread(TFileStrings& owner);
  // Terminates and joins.
  ~TCountThread();
  TCountThread(const TCountThread&) = delete;
  TCountThread& operator=(const TCountThread&) = delete;

  void Terminate() { terminated_.store(true, std::memory_order_release); }

 private:
  void Execute();
  // Scans one chunk that begins at text offset chunkStart.
  void ScanChunk(const char* chunk, std::int32_t length, std::int32_t chunkStart);
  // Records the start of the current line unless it is recorded already.
  void RecordLineStart();
  void Record(std::int32_t offset);
  void FlushBlock();

  TFileStrings& owner_;
  std::atomic<bool> terminated_{false};
  std::unique_ptr<char[]> buffer_;
  std::int32_t position_ = 0;       // the counter's position variable for ReadAt
  std::int32_t lineStart_ = 0;      // start of the current line
  bool lineStartRecorded_ = false;  // a short chunk of a growing text recorded it already
  bool pendingCR_ = false;          // the last chunk ended with a carriage return
  std::thread thread_;
};

}  // namespace korvane
