// The line index of the text viewer: the counting thread that finds line
// starts, the offset file it fills, and the on-demand reading of one line.
//
// The thread and the user-interface thread meet only under the list's lock:
// the thread reads the source, stores each line start in the block and, when
// the block is full, appends it to the offset file; the user-interface thread
// looks line starts up there. The count is published after the start is
// stored, so every line below GetCount() can be looked up.
#include "corpus/file_strings.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "corpus/buf_stream.h"
#include "corpus/synchro_stream.h"

namespace korvane {
namespace {

// How long the counter waits before it looks again at a text that is still
// growing (a download).
constexpr auto kGrowPollInterval = std::chrono::milliseconds(50);

constexpr const char* kOffsetFilePrefix = "FST";

// Creates the empty offset file in $TMPDIR (default /tmp) and returns its
// descriptor; name receives its path.
int CreateOffsetFile(std::string& name) {
  const char* folder = std::getenv("TMPDIR");
  name = std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") + "/" + kOffsetFilePrefix +
         "XXXXXX.tmp";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) throw Exception(UnableToOpenFileMessage(name));
  return fd;
}

void WriteAll(int fd, const unsigned char* bytes, std::size_t length, off_t offset) {
  while (length > 0) {
    const ssize_t n = ::pwrite(fd, bytes, length, offset);
    if (n <= 0) return;  // a full disk loses index entries, never the text
    bytes += n;
    length -= static_cast<std::size_t>(n);
    offset += n;
  }
}

}  // namespace

std::string InvalidListMethodMessage(const std::string& method) {
  return "\"" + method + "\" method is invalid for TFileStrings.";
}

// ---- TFileStrings -----------------------------------------------------------

TFileStrings::TFileStrings(TSynchroStream& source, TBufStream& reader, TNotifyEvent onLineCounted,
                           TNotifyEvent onCountDone)
    : source_(source),
      reader_(reader),
      textSize_(source.GetSize()),
      block_(new std::int32_t[kCountBlockSize]),
      onLineCounted_(std::move(onLineCounted)),
      onCountDone_(std::move(onCountDone)) {
  offsetFile_ = CreateOffsetFile(offsetFileName_);
  thread_ = std::make_unique<TCountThread>(*this);
}

TFileStrings::~TFileStrings() {
  thread_.reset();
  if (offsetFile_ >= 0) ::close(offsetFile_);
  std::remove(offsetFileName_.c_str());
}

void TFileStrings::Clear() { throw EListError(InvalidListMethodMessage("Clear")); }
void TFileStrings::Delete(std::int32_t) { throw EListError(InvalidListMethodMessage("Delete")); }
void TFileStrings::Insert(std::int32_t, const std::string&) {
  throw EListError(InvalidListMethodMessage("Insert"));
}

std::int32_t TFileStrings::LineStart(std::int32_t index) {
  std::lock_guard<std::mutex> guard(lock_);
  return LineStartLocked(index);
}

std::int32_t TFileStrings::LineStartLocked(std::int32_t index) {
  if (index < fileEntries_) {
    unsigned char bytes[4] = {};
    if (::pread(offsetFile_, bytes, 4, static_cast<off_t>(index) * 4) != 4) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                     static_cast<std::uint32_t>(bytes[1]) << 8 |
                                     static_cast<std::uint32_t>(bytes[2]) << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
  }
  const std::int32_t inBlock = index - fileEntries_;
  return inBlock < blockFill_ ? block_[inBlock] : 0;
}

std::string TFileStrings::Get(std::int32_t index) {
  // Done is read before the count: once counting is done the count is final,
  // so the last line's end is the text's end only when it really is last.
  const bool done = CountDone();
  const std::int32_t count = GetCount();
  if (index < 0 || index >= count) return {};
  std::int32_t start = 0;
  std::int32_t end = 0;
  {
    std::lock_guard<std::mutex> guard(lock_);
    start = LineStartLocked(index);
    if (index + 1 < count)
      end = LineStartLocked(index + 1);
    else
      end = done ? scannedSize_ : start;
  }
  return ReadLine(start, end);
}

std::string TFileStrings::ReadLine(std::int32_t start, std::int32_t end) {
  const std::int32_t from = start > kLineLookBehind ? start - kLineLookBehind : 0;
  reader_.SetRange(from, end);
  reader_.ClearTagState();
  const bool typed = SuppressTags || SuppressPartOfSpeech || SuppressWords;
  std::string line;
  if (end > start) line.reserve(static_cast<std::size_t>(end - start));
  bool inWhiteRun = false;
  for (std::int32_t offset = from;; ++offset) {
    TCharType type = ctNone;
    const unsigned char c = typed ? reader_.ReadCharTyped(type) : reader_.ReadChar();
    if (c == 0) break;
    if (offset < start || c == '\r' || c == '\n') continue;
    if (typed) {
      if (SuppressTags && type == ctTag) continue;
      if (SuppressPartOfSpeech && type == ctWordTag) continue;
      if (SuppressWords) {
        if (type == ctDelimiter || type == ctNewLine || type == ctWord) continue;
        // Of a run of white space only the first character stays; skipped
        // characters do not end the run.
        if (type == ctWhiteSpace && inWhiteRun) continue;
        inWhiteRun = type == ctWhiteSpace;
      }
    }
    line += c == '\t' ? ' ' : static_cast<char>(c);
  }
  return line;
}

// ---- TCountThread -----------------------------------------------------------

TCountThread::TCountThread(TFileStrings& owner)
    : owner_(owner), buffer_(new char[kCountChunkSize + 1]), thread_([this] { Execute(); }) {}

TCountThread::~TCountThread() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

void TCountThread::Execute() {
  // One step below the normal priority, so that counting a large text never
  // slows the user interface. Failure leaves the priority as it is.
  const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int priority = ::getpriority(PRIO_PROCESS, tid);
  if (errno == 0) ::setpriority(PRIO_PROCESS, tid, priority + 1);

  while (!terminated_.load(std::memory_order_acquire)) {
    std::int32_t n = 0;
    {
      std::lock_guard<std::mutex> guard(owner_.lock_);
      n = owner_.source_.ReadAt(buffer_.get(), kCountChunkSize, position_);
    }
    if (n <= 0) {
      if (position_ >= owner_.source_.GetSize()) break;
      std::this_thread::sleep_for(kGrowPollInterval);  // a download that still grows
      continue;
    }
    buffer_[n] = 0;
    ScanChunk(buffer_.get(), n, position_ - n);
    // A short chunk is the data available now: its unfinished last line is
    // shown at once, and its start is not recorded again when more arrives.
    // After a carriage return the next byte decides where the line starts.
    if (n < kCountChunkSize && !pendingCR_) RecordLineStart();
  }
  if (terminated_.load(std::memory_order_acquire)) return;

  // The end of the text ends the last line (also the only, empty line of an
  // empty text, and the empty line after a final line break).
  RecordLineStart();
  {
    std::lock_guard<std::mutex> guard(owner_.lock_);
    FlushBlock();
    owner_.scannedSize_ = position_;
  }
  owner_.done_.store(true, std::memory_order_release);
  if (owner_.onCountDone_) owner_.onCountDone_();
}

void TCountThread::ScanChunk(const char* chunk, std::int32_t length, std::int32_t chunkStart) {
  std::int32_t i = 0;
  if (pendingCR_) {
    pendingCR_ = false;
    // The line feed of a pair split between two chunks belongs to the break.
    if (length > 0 && chunk[0] == '\n') {
      lineStart_ = chunkStart + 1;
      i = 1;
    }
  }
  for (; i < length; ++i) {
    const char c = chunk[i];
    if (c != '\n' && c != '\r') continue;
    RecordLineStart();
    if (c == '\r') {
      if (i + 1 == length)
        pendingCR_ = true;
      else if (chunk[i + 1] == '\n')
        ++i;
    }
    lineStart_ = chunkStart + i + 1;
    lineStartRecorded_ = false;
  }
}

void TCountThread::RecordLineStart() {
  if (lineStartRecorded_) return;
  Record(lineStart_);
  lineStartRecorded_ = true;
}

void TCountThread::Record(std::int32_t offset) {
  {
    std::lock_guard<std::mutex> guard(owner_.lock_);
    owner_.block_[owner_.blockFill_++] = offset;
    if (owner_.blockFill_ == kCountBlockSize) FlushBlock();
  }
  owner_.count_.fetch_add(1, std::memory_order_release);
  if (owner_.onLineCounted_) owner_.onLineCounted_();
}

// Appends the block to the offset file. Under the owner's lock.
void TCountThread::FlushBlock() {
  const std::int32_t fill = owner_.blockFill_;
  if (fill == 0) return;
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[static_cast<std::size_t>(fill) * 4]);
  for (std::int32_t k = 0; k < fill; ++k) {
    const auto v = static_cast<std::uint32_t>(owner_.block_[k]);
    for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(k) * 4 + b] = static_cast<unsigned char>(v >> (8 * b));
  }
  WriteAll(owner_.offsetFile_, bytes.get(), static_cast<std::size_t>(fill) * 4,
           static_cast<off_t>(owner_.fileEntries_) * 4);
  owner_.fileEntries_ += fill;
  owner_.blockFill_ = 0;
}

}  // namespace korvane
