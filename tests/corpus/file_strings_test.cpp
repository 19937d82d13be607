// The text viewer's line index: line breaks of every kind (also split between
// two chunks), lines looked up in the offset file and in the block, a text
// that grows while it is counted, the display filters and the read-only list.
#include "corpus/file_strings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corpus/buf_stream.h"
#include "corpus/synchro_stream.h"
#include "search/concord_config.h"

namespace korvane {
namespace {

// A text in memory that may still grow, as a download does: until Complete()
// its size is undetermined.
class GrowingStream : public TSynchroStream {
 public:
  explicit GrowingStream(std::string data = {}, bool complete = true)
      : data_(std::move(data)), complete_(complete) {}

  void Append(const std::string& more) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    data_ += more;
  }
  void Complete() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    complete_ = true;
  }

  std::int32_t GetSize() override {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return complete_ ? static_cast<std::int32_t>(data_.size()) : INT32_MAX;
  }
  bool WaitFor(std::int32_t) override { return true; }
  std::int32_t Read(void* buffer, std::int32_t count) override {
    const std::int32_t available = static_cast<std::int32_t>(data_.size()) - position_;
    const std::int32_t n = std::max(0, std::min(count, available));
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
  }
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
  std::int32_t Seek(std::int32_t offset, int origin) override {
    const auto size = static_cast<std::int32_t>(data_.size());
    position_ = origin == 0 ? offset : origin == 1 ? position_ + offset : size + offset;
    return position_;
  }

 private:
  std::string data_;
  bool complete_;
  std::int32_t position_ = 0;
};

// A line index over a text with the reader the viewer would give it.
struct Indexed {
  explicit Indexed(std::string text, bool complete = true)
      : stream(std::move(text), complete), reader(&stream, config.DelimiterSet()) {
    reader.ApplySettings(config);
  }
  void Open() {
    strings = std::make_unique<TFileStrings>(stream, reader, nullptr, [this] {
      std::lock_guard<std::mutex> guard(mutex);
      done = true;
      doneChanged.notify_all();
    });
  }
  // Waits (at most ten seconds) for the counting to end.
  bool WaitDone() {
    std::unique_lock<std::mutex> lock(mutex);
    return doneChanged.wait_for(lock, std::chrono::seconds(10), [this] { return done; });
  }
  // Waits for the count to reach n while the text still grows.
  bool WaitCount(std::int32_t n) {
    for (int i = 0; i < 1000 && strings->GetCount() < n; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return strings->GetCount() == n;
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < strings->GetCount(); ++i) lines.push_back(strings->Get(i));
    return lines;
  }

  ConcordConfig config;
  GrowingStream stream;
  TBufStream reader;
  std::unique_ptr<TFileStrings> strings;
  std::mutex mutex;
  std::condition_variable doneChanged;
  bool done = false;
};

using Lines = std::vector<std::string>;

TEST(FileStringsTest, SplitsAtEveryKindOfLineBreak) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {""}},
      {"x\ny", {"x", "y"}},
      {"a\r\nb\r\n", {"a", "b", ""}},
      {"a\rb\rc", {"a", "b", "c"}},
      // A carriage return alone before a line feed is a break of its own.
      {"a\rb\nc", {"a", "b", "c"}},
      {"\n\n", {"", "", ""}},
      {"tab\there", {"tab here"}},
  };
  for (const auto& c : cases) {
    Indexed indexed(c.text);
    indexed.Open();
    ASSERT_TRUE(indexed.WaitDone());
    EXPECT_EQ(indexed.Lines(), c.lines) << "text: " << c.text;
  }
}

TEST(FileStringsTest, LineBreaksAtChunkBoundariesCountOnce) {
  const std::string before(kCountChunkSize - 1, 'a');
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      // The carriage return ends the first chunk, the line feed begins the next.
      {before + "\r\nb", {before, "b"}},
      {before + "\rb", {before, "b"}},
      // A text of exactly one chunk without a final break keeps its last line.
      {before + "z", {before + "z"}},
      {before + "\r", {before, ""}},
  };
  for (const auto& c : cases) {
    Indexed indexed(c.text);
    indexed.Open();
    ASSERT_TRUE(indexed.WaitDone());
    EXPECT_EQ(indexed.Lines(), c.lines) << "text of " << c.text.size() << " bytes";
  }
}

TEST(FileStringsTest, ReadsLinesFromTheOffsetFileAndFromTheBlock) {
  std::string text;
  for (int i = 1; i <= 10000; ++i) text += "line " + std::to_string(i) + "\r\n";
  Indexed indexed(text);
  indexed.Open();
  ASSERT_TRUE(indexed.WaitDone());
  ASSERT_EQ(indexed.strings->GetCount(), 10001);
  EXPECT_EQ(indexed.strings->Get(4999), "line 5000");
  EXPECT_EQ(indexed.strings->Get(9999), "line 10000");
  EXPECT_EQ(indexed.strings->Get(10000), "");
  EXPECT_EQ(std::filesystem::file_size(indexed.strings->OffsetFileName()), 10001u * 4);

  // While a text is still counted its newest line starts are in the block;
  // the last known line reads as empty until its end is known.
  Indexed growing("", false);
  for (int i = 1; i <= 10; ++i) growing.stream.Append("row " + std::to_string(i) + "\n");
  growing.Open();
  ASSERT_TRUE(growing.WaitCount(11));
  EXPECT_EQ(growing.strings->Get(4), "row 5");
  EXPECT_EQ(growing.strings->Get(10), "");
  EXPECT_FALSE(growing.strings->CountDone());
  EXPECT_EQ(std::filesystem::file_size(growing.strings->OffsetFileName()), 0u);
}

TEST(FileStringsTest, GrowingTextRecordsAnUnfinishedLineOnce) {
  Indexed growing("abc", false);
  growing.Open();
  ASSERT_TRUE(growing.WaitCount(1));
  growing.stream.Append("def\r");
  // Give the counter time to read this part on its own (it looks every 50 ms).
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(growing.strings->GetCount(), 1);
  // The pair's line feed arrives separately: still one break.
  growing.stream.Append("\nghi");
  ASSERT_TRUE(growing.WaitCount(2));
  growing.stream.Complete();
  ASSERT_TRUE(growing.WaitDone());
  EXPECT_EQ(growing.Lines(), (Lines{"abcdef", "ghi"}));
}

TEST(FileStringsTest, SuppressFiltersHideTagsPartOfSpeechOrWords) {
  enum Filter { kTags, kPartOfSpeech, kWords };
  const struct {
    std::string text;
    Filter filter;
    Lines lines;
  } cases[] = {
      {"<p>\r\nsome <b>bold</b> text", kTags, {"", "some bold text"}},
      // A tag opened on an earlier line is still a tag.
      {"x <note\r\nstill> after", kTags, {"x ", " after"}},
      {"the_AT dog_NN  runs_VBZ", kPartOfSpeech, {"the dog  runs"}},
      {"<s> the  cat, <b> sat", kWords, {"<s> <b> "}},
  };
  for (const auto& c : cases) {
    Indexed indexed(c.text);
    indexed.config.WordTag = 1;
    indexed.config.wTagDelimiter = '_';
    indexed.reader.ApplySettings(indexed.config);
    indexed.Open();
    ASSERT_TRUE(indexed.WaitDone());
    indexed.strings->SuppressTags = c.filter == kTags;
    indexed.strings->SuppressPartOfSpeech = c.filter == kPartOfSpeech;
    indexed.strings->SuppressWords = c.filter == kWords;
    EXPECT_EQ(indexed.Lines(), c.lines) << "text: " << c.text;
  }
}

TEST(FileStringsTest, IsReadOnlyAndRemovesItsOffsetFile) {
  std::string offsetFile;
  {
    Indexed indexed("a\nb");
    indexed.Open();
    offsetFile = indexed.strings->OffsetFileName();
    EXPECT_EQ(std::filesystem::path(offsetFile).filename().string().substr(0, 3), "FST");
    EXPECT_EQ(std::filesystem::path(offsetFile).extension(), ".tmp");
    const struct {
      std::function<void()> call;
      const char* message;
    } cases[] = {
        {[&] { indexed.strings->Clear(); }, "\"Clear\" method is invalid for TFileStrings."},
        {[&] { indexed.strings->Delete(0); }, "\"Delete\" method is invalid for TFileStrings."},
        {[&] { indexed.strings->Insert(0, "x"); }, "\"Insert\" method is invalid for TFileStrings."},
    };
    for (const auto& c : cases) {
      try {
        c.call();
        ADD_FAILURE() << "no error for " << c.message;
      } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
    ASSERT_TRUE(indexed.WaitDone());
    EXPECT_EQ(indexed.Lines(), (Lines{"a", "b"}));
  }
  EXPECT_FALSE(std::filesystem::exists(offsetFile));

  // A list destroyed while its text still grows stops its counting thread.
  Indexed growing("endless", false);
  growing.Open();
  ASSERT_TRUE(growing.WaitCount(1));
  const std::string growingFile = growing.strings->OffsetFileName();
  growing.strings.reset();
  EXPECT_FALSE(std::filesystem::exists(growingFile));
}

}  // namespace
}  // namespace korvane
