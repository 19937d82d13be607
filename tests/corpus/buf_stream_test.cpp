// The buffered reader: window moves across the 8 KiB boundaries, character
// classes with tags and part-of-speech tags, the type map, words read
// forwards and backwards, and the string searches of heading search.
#include "corpus/buf_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/errors.h"
#include "corpus/synchro_stream.h"
#include "search/concord_config.h"
#include "temp_dir.h"

namespace korvane {
namespace {

constexpr std::int32_t kBuf = TBufStream::kBufferSize;

// A source in memory. It can hand out at most `chunk` bytes per read (as a
// download does) and can act as a download that is still growing: only the
// first `visible` bytes exist, and the size is unknown until Finish().
class MemorySource : public TSynchroStream {
 public:
  explicit MemorySource(std::string data, std::int32_t chunk = INT32_MAX)
      : data_(std::move(data)), visible_(static_cast<std::int32_t>(data_.size())), chunk_(chunk) {}

  void Grow(std::int32_t visible) {
    growing_ = true;
    visible_ = visible;
  }
  void Finish() {
    growing_ = false;
    visible_ = static_cast<std::int32_t>(data_.size());
  }

  std::int32_t GetSize() override { return growing_ ? INT32_MAX : static_cast<std::int32_t>(data_.size()); }
  bool WaitFor(std::int32_t) override { return true; }
  std::int32_t Read(void* buffer, std::int32_t count) override {
    const std::int32_t n = std::max(0, std::min({count, chunk_, visible_ - position_}));
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
  }
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
  std::int32_t Seek(std::int32_t offset, int origin) override {
    position_ = origin == 0 ? offset : origin == 1 ? position_ + offset : visible_ + offset;
    return position_;
  }

 private:
  std::string data_;
  std::int32_t visible_;
  std::int32_t chunk_;
  bool growing_ = false;
  std::int32_t position_ = 0;
};

// Letters a..z repeated, so that every offset's byte is known.
std::string Letters(std::int32_t size) {
  std::string s(static_cast<std::size_t>(size), ' ');
  for (std::int32_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

// Words of varying length separated by spaces, full stops and line breaks.
std::string Prose(std::int32_t size) {
  static const char* const kWords[] = {"the", "harbour", "a", "ship", "sailed", "into", "dark", "water"};
  std::string s;
  for (int i = 0; static_cast<std::int32_t>(s.size()) < size; ++i) {
    s += kWords[i % 8];
    s += i % 7 == 6 ? ".\r\n" : i % 11 == 10 ? "\n" : " ";
  }
  s.resize(static_cast<std::size_t>(size));
  return s;
}

CharSet Delimiters() { return ConcordConfig().DelimiterSet(); }

// One letter per class, for tables of expected classes.
char Code(TCharType t) { return "-DSNWTP"[t]; }

// Reads n characters typed and returns their class codes.
std::string ReadTypes(TBufStream& reader, std::size_t n) {
  std::string codes;
  TCharType type = ctNone;
  for (std::size_t i = 0; i < n; ++i) {
    reader.ReadCharTyped(type);
    codes += Code(type);
  }
  return codes;
}

std::string ReadAll(TBufStream& reader) {
  std::string out;
  for (unsigned char c = reader.ReadChar(); c != 0; c = reader.ReadChar()) out += static_cast<char>(c);
  return out;
}

// --- Reading and seeking --------------------------------------------------------

TEST(BufStreamRead, ReadsEveryByteAcrossBufferBoundariesThenZero) {
  struct Case {
    std::int32_t size;
    std::int32_t chunk;  // bytes per source read
  } cases[] = {
      {0, INT32_MAX},        {1, INT32_MAX},         {kBuf - 1, INT32_MAX}, {kBuf, INT32_MAX},
      {kBuf + 1, INT32_MAX}, {3 * kBuf, INT32_MAX},  {50000, INT32_MAX},    {3 * kBuf, 1000},
      {20000, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << ", chunk " << c.chunk);
    MemorySource source(Letters(c.size), c.chunk);
    TBufStream reader(&source, Delimiters());
    EXPECT_EQ(ReadAll(reader), Letters(c.size));
    EXPECT_EQ(reader.Position(), c.size);
    EXPECT_EQ(reader.ReadChar(), 0);
    EXPECT_EQ(reader.Position(), c.size);
  }
}

TEST(BufStreamRead, ReadsAFileThroughTheFileSource) {
  test::TempDir dir;
  const std::string text = Prose(2 * kBuf);  // a multiple of the buffer size
  TFileSynchroStream source(dir.WriteFile("t.txt", text), TFileOpenMode::ReadShareWrite);
  TBufStream reader(&source, Delimiters());
  EXPECT_EQ(reader.Size(), 2 * kBuf);
  EXPECT_EQ(ReadAll(reader), text);
}

TEST(BufStreamRead, SeeksAnywhereAndReadsTheByteThere) {
  const std::string text = Letters(5 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  // In order: inside the first buffer, its last byte, the next buffers, back
  // into the look-behind, far back, far ahead, the very last byte.
  for (std::int32_t at : {0, 255, 256, kBuf - 1, kBuf, kBuf + 300, kBuf + 50, 100, 4 * kBuf + 7, 3 * kBuf,
                          5 * kBuf - 1}) {
    reader.SetPosition(at);
    EXPECT_EQ(reader.Position(), at);
    EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[at])) << "at " << at;
    EXPECT_EQ(reader.ReadChar(), at + 1 < 5 * kBuf ? static_cast<unsigned char>(text[at + 1]) : 0);
  }
}

TEST(BufStreamRead, SeekOutsideTheRangeReadsZeroUntilSeekingBack) {
  const std::string text = Letters(3 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  reader.SetRange(100, 200);
  reader.SetPosition(201);
  EXPECT_EQ(reader.ReadChar(), 0);
  EXPECT_EQ(reader.ReadChar(), 0);
  reader.SetPosition(150);
  EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[150]));
  reader.SetPosition(199);
  EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[199]));
  EXPECT_EQ(reader.ReadChar(), 0);  // the range end
}

TEST(BufStreamRead, NegativeSeekReadsZeroAndKeepsTheBufferUsable) {
  const std::string text = Letters(5 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  reader.SetPosition(20000);  // the buffer now starts at 19744
  reader.SetPosition(-1);
  EXPECT_EQ(reader.Position(), -1);
  EXPECT_EQ(reader.ReadChar(), 0);
  EXPECT_EQ(reader.ReadCharBack(), 0);
  reader.SetPosition(20100);  // inside the kept buffer: must not read another offset's byte
  EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[20100]));
  reader.SetPosition(-5);
  reader.SetPosition(1000);  // outside it: from the source
  EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[1000]));
}

TEST(BufStreamRead, ZeroByteInsideTheTextReadsLikeTheEnd) {
  MemorySource source(std::string("ab\0cd", 5));
  TBufStream reader(&source, Delimiters());
  TCharType type = ctNone;
  EXPECT_EQ(reader.ReadCharTyped(type), 'a');
  EXPECT_EQ(reader.ReadCharTyped(type), 'b');
  EXPECT_EQ(reader.ReadCharTyped(type), 0);
  EXPECT_EQ(type, ctDelimiter);
  EXPECT_EQ(reader.ReadWord(), "cd");  // reading on past it is the caller's choice
}

TEST(BufStreamRead, ReadCharBackStopsAtTheRangeStartAndCrossesRefills) {
  const std::string text = Letters(3 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());

  reader.SetRange(0, 3 * kBuf);
  EXPECT_EQ(reader.ReadCharBack(), 0);
  EXPECT_EQ(reader.Position(), 0);

  // Backwards from deep in the text to the start, refilling on the way.
  reader.SetPosition(2 * kBuf + 100);
  std::string backwards;
  for (unsigned char c = reader.ReadCharBack(); c != 0; c = reader.ReadCharBack()) backwards += static_cast<char>(c);
  std::reverse(backwards.begin(), backwards.end());
  EXPECT_EQ(backwards, text.substr(0, 2 * kBuf + 100));
  EXPECT_EQ(reader.Position(), 0);

  reader.SetRange(1000, 2000);
  EXPECT_EQ(reader.ReadCharBack(), 0);
  EXPECT_EQ(reader.Position(), 1000);
  EXPECT_EQ(reader.ReadChar(), static_cast<unsigned char>(text[1000]));
  EXPECT_EQ(reader.ReadCharBack(), static_cast<unsigned char>(text[1000]));
  EXPECT_EQ(reader.Position(), 1000);
}

TEST(BufStreamRead, EnsureAvailableMakesBytesContiguousOrFails) {
  const std::string text = Letters(4 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  struct Case {
    std::int32_t position;
    std::int32_t n;
    bool available;
  } cases[] = {
      {0, kBuf, true},                  // the whole first buffer
      {7000, kBuf, true},               // more than fits after 256 bytes of look-behind
      {kBuf - 1, 2, true},              // straddles the first boundary
      {3 * kBuf + 1, kBuf, false},      // runs past the data end
      {4 * kBuf - 10, 10, true},        // up to the last byte
      {100, kBuf + 1, false},           // more than the buffer holds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.position << " + " << c.n);
    reader.SetPosition(c.position);
    EXPECT_EQ(reader.EnsureAvailable(c.n), c.available);
    EXPECT_EQ(reader.Position(), c.position);
    if (!c.available) continue;
    // Everything must now come from the buffer and be the right bytes.
    std::string got;
    for (std::int32_t i = 0; i < c.n; ++i) got += static_cast<char>(reader.ReadChar());
    EXPECT_EQ(got, text.substr(c.position, c.n));
  }
  reader.SetRange(0, 500);
  EXPECT_FALSE(reader.EnsureAvailable(501));
}

TEST(BufStreamRead, AGrowingDownloadSuppliesNewBytesLater) {
  const std::string text = Letters(3 * kBuf);
  MemorySource source(text, 3000);
  source.Grow(10000);
  TBufStream reader(&source, Delimiters());
  EXPECT_EQ(ReadAll(reader), text.substr(0, 10000));
  source.Grow(20000);
  EXPECT_EQ(ReadAll(reader), text.substr(10000, 10000));
  source.Finish();
  EXPECT_EQ(ReadAll(reader), text.substr(20000));
}

TEST(BufStreamRead, ReadersSharingOneSourceOnTwoThreadsSeeTheirOwnBytes) {
  test::TempDir dir;
  const std::string text = Prose(40 * kBuf);
  TFileSynchroStream source(dir.WriteFile("t.txt", text), TFileOpenMode::ReadShareWrite);
  std::string first, second;
  std::thread other([&] {
    TBufStream reader(&source, Delimiters());
    first = ReadAll(reader);
  });
  TBufStream reader(&source, Delimiters());
  reader.SetPosition(20 * kBuf);
  second = ReadAll(reader);
  other.join();
  EXPECT_TRUE(first == text);
  EXPECT_TRUE(second == text.substr(20 * kBuf));
}

// --- Character classes ------------------------------------------------------------

struct ClassCase {
  const char* what;
  std::string text;
  std::string classes;  // D delimiter, S white space, N new line, W word, T tag, P part-of-speech tag
  std::uint8_t wordTag = 0;
  char tagStop = '>';
  std::vector<std::string> starts = {};
  char wTagStop = '>';
  bool tags = true;  // ApplySettings called
};

ConcordConfig ConfigFor(const ClassCase& c) {
  ConcordConfig config;
  config.TagStop = c.tagStop;
  config.WordTag = c.wordTag;
  config.wTagStarts = c.starts;
  config.wTagStop = c.wTagStop;
  return config;
}

TEST(BufStreamClasses, ForwardReadingAndTheTypeMapAgree) {
  const ClassCase cases[] = {
      {"tag", "a<b>c", "WTTTW"},
      {"without tag settings a tag is text", "a<b>c", "WDWDW", 0, '>', {}, '>', false},
      {"tag stop # ends at white space, which belongs to the tag", "a<b c>d\r\n<e\rf", "WTTTWDWNSTTTW", 0, '#'},
      {"CR LF, lone LF, lone CR", "a\r\nb\nc\rd", "WNSWNWNW"},
      {"line feed first", "\nx", "NW"},
      {"delimiters", "a, b.", "WDSWD"},
      {"embedded tag ends at a delimiter", "dog_NN1 cat_NN.\r\n", "WWWPPPPSWWWPPPDNS", 1},
      {"embedded tag ends at a line feed", "a_B\nc", "WPPNW", 1},
      {"tag start list", "<w NN>dog <p>x", "PPPPPPWWWSTTTW", 2, '>', {"<w "}},
      {"start strings in list order", "[]NN]x", "PPWWDW", 2, '>', {"[", "[]"}, ']'},
      {"a start string holding the stop character", "[>NN>dog", "PPPPPWWW", 2, '>', {"[>"}},
      {"an unmatched first character falls back to a tag", "<wx>y", "TTTTW", 2, '>', {"<w "}},
      {"part-of-speech stop #", "x <w_NN dog", "WSPPPPPPWWW", 2, '>', {"<w"}, '#'},
  };
  for (const ClassCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(c.text.size(), c.classes.size());
    MemorySource source(c.text);
    ConcordConfig config = ConfigFor(c);
    TBufStream reader(&source, config.DelimiterSet());
    if (c.tags) reader.ApplySettings(config);
    EXPECT_EQ(ReadTypes(reader, c.text.size()), c.classes);
    TCharType type = ctNone;
    EXPECT_EQ(reader.ReadCharTyped(type), 0);
    EXPECT_EQ(type, ctDelimiter);

    reader.ValidateBuffer(0, static_cast<std::int32_t>(c.text.size()));
    EXPECT_EQ(ReadTypes(reader, c.text.size()), c.classes) << "type map";
  }
}

TEST(BufStreamClasses, ClassesSurviveBufferBoundaries) {
  // A CR LF pair, a tag and a part-of-speech start string each straddle the
  // end of the first buffer; a zero-filled look-behind would break each.
  struct Case {
    const char* what;
    std::string piece;
    std::string classes;
  } cases[] = {
      {"CR LF", "\r\n", "NS"},
      {"tag", "<abc>", "TTTTT"},
      {"start string", "<w NN>", "PPPPPP"},
  };
  for (const Case& c : cases) {
    for (std::int32_t shift = 0; shift < static_cast<std::int32_t>(c.piece.size()); ++shift) {
      SCOPED_TRACE(testing::Message() << c.what << " at " << kBuf - 1 - shift);
      const std::int32_t at = kBuf - 1 - shift;
      std::string text(static_cast<std::size_t>(at), 'x');
      text += c.piece + "y";
      MemorySource source(text);
      ConcordConfig config;
      config.WordTag = 2;
      config.wTagStarts = {"<w "};
      TBufStream reader(&source, config.DelimiterSet());
      reader.ApplySettings(config);
      ReadTypes(reader, static_cast<std::size_t>(at));
      EXPECT_EQ(ReadTypes(reader, c.piece.size() + 1), c.classes + "W");
    }
  }
}

TEST(BufStreamClasses, TagStateCanBeSetAndCleared) {
  MemorySource source("<ab cd>e");
  ConcordConfig config;
  TBufStream reader(&source, config.DelimiterSet());
  reader.ApplySettings(config);
  reader.SetPosition(4);
  reader.SetTagState(ctTag);
  EXPECT_EQ(ReadTypes(reader, 4), "TTTW");
  reader.SetPosition(4);
  reader.ClearTagState();
  EXPECT_EQ(ReadTypes(reader, 4), "WWDW");
}

TEST(BufStreamClasses, MatchWordTagStartLooksAtThePositionOnly) {
  MemorySource source("xx<W <w NN><w");
  ConcordConfig config;
  config.WordTag = 2;
  config.wTagStarts = {"<w N", "<w ", "<w NN>!"};
  TBufStream reader(&source, config.DelimiterSet());
  reader.ApplySettings(config);
  struct Case {
    std::int32_t at;
    std::int32_t length;
  } cases[] = {
      {0, 0},   // not a first character
      {2, 0},   // case-sensitive
      {5, 4},   // the first start in list order that matches
      {11, 0},  // "<w" at the end of the text: no start stands there in full
  };
  for (const Case& c : cases) {
    reader.SetPosition(c.at);
    EXPECT_EQ(reader.MatchWordTagStart(), c.length) << "at " << c.at;
    EXPECT_EQ(reader.Position(), c.at);
  }
  EXPECT_EQ(reader.MatchedStartLength(), 4);  // kept from the last match
}

// --- The type map -------------------------------------------------------------------

TEST(BufStreamTypeMap, CoversAFullBufferWhereverItStarts) {
  const std::string text = Prose(6 * kBuf);
  MemorySource source(text);
  const CharSet delimiters = Delimiters();
  TBufStream reader(&source, delimiters);
  // Move the window so that the ranges begin near the end of the buffer.
  for (std::int32_t start : {7000, kBuf - 1, 2 * kBuf + 4000, 6 * kBuf - kBuf}) {
    SCOPED_TRACE(testing::Message() << "start " << start);
    reader.SetPosition(start - 6000 > 0 ? start - 6000 : 0);
    reader.ReadChar();
    reader.ValidateBuffer(start, start + kBuf);
    ASSERT_TRUE(reader.HasTypeMap());
    EXPECT_EQ(reader.RangeEnd(), start + kBuf);
    // The reference: plain forward reading by a second reader.
    TBufStream plain(&source, delimiters);
    plain.SetRange(start, start + kBuf);
    const std::string expected = ReadTypes(plain, kBuf);
    std::string chars;
    std::string classes;
    TCharType type = ctNone;
    for (std::int32_t i = 0; i < kBuf; ++i) {
      chars += static_cast<char>(reader.ReadCharTyped(type));
      classes += Code(type);
    }
    EXPECT_TRUE(chars == text.substr(start, kBuf));
    EXPECT_TRUE(classes == expected);
    EXPECT_EQ(reader.ReadCharTyped(type), 0);
    // And backwards over the same map.
    std::string back;
    while (reader.ReadCharBackTyped(type) != 0) back += Code(type);
    std::reverse(back.begin(), back.end());
    EXPECT_TRUE(back == expected);
  }
}

TEST(BufStreamTypeMap, LimitsAndFailure) {
  const std::string text = Prose(3 * kBuf);
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());

  reader.ValidateBuffer(100, 100 + 9000);
  EXPECT_EQ(reader.RangeStart(), 100);
  EXPECT_EQ(reader.RangeEnd(), 100 + kBuf);
  EXPECT_EQ(ReadAll(reader).size(), static_cast<std::size_t>(kBuf));

  reader.SetRange(0, 10);
  EXPECT_FALSE(reader.HasTypeMap());
  TCharType type = ctWord;
  EXPECT_EQ(reader.ReadCharBackTyped(type), 0);
  EXPECT_EQ(type, ctNone);

  reader.ValidateBuffer(100, 200);
  try {
    reader.ValidateBuffer(3 * kBuf - 10, 3 * kBuf + 10);  // past the data end
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Internal error:\rValidateBuffer failed");
  }
  EXPECT_FALSE(reader.HasTypeMap());
}

// --- Words ----------------------------------------------------------------------------

TEST(BufStreamWords, ReadsWordsForwardAndBackWithTheirOffsets) {
  ConcordConfig config;
  config.WordTag = 1;
  const std::string text = "the <b>cat</b> sat_VVD,\r\nhere";
  MemorySource source(text);
  TBufStream reader(&source, config.DelimiterSet());
  reader.ApplySettings(config);
  struct Word {
    std::string word;
    std::int32_t start, end;
  };
  const std::vector<Word> words = {{"the", 0, 3}, {"cat", 7, 10}, {"sat", 15, 18}, {"here", 25, 29}};

  for (const Word& w : words) {
    EXPECT_EQ(reader.ReadWord(), w.word);
    EXPECT_EQ(reader.WordStart(), w.start);
    EXPECT_EQ(reader.WordEnd(), w.end);
  }
  EXPECT_EQ(reader.ReadWord(), "");

  reader.ValidateBuffer(0, static_cast<std::int32_t>(text.size()));
  reader.SetPosition(static_cast<std::int32_t>(text.size()));
  for (auto w = words.rbegin(); w != words.rend(); ++w) {
    EXPECT_EQ(reader.ReadWordBack(), w->word);
    EXPECT_EQ(reader.WordStart(), w->start);
    EXPECT_EQ(reader.WordEnd(), w->end);
    // The position rests on the character before the word, or the range start.
    EXPECT_EQ(reader.Position(), std::max(w->start - 1, 0));
  }
  EXPECT_EQ(reader.ReadWordBack(), "");
  EXPECT_EQ(reader.Position(), 0);
}

TEST(BufStreamWords, LongWordsKeepTheirFirst255CharactersAndFullOffsets) {
  const std::string longWord = Letters(300);
  const std::string text = "x " + longWord + " y";
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  EXPECT_EQ(reader.ReadWord(), "x");
  EXPECT_EQ(reader.ReadWord(), longWord.substr(0, 255));
  EXPECT_EQ(reader.WordStart(), 2);
  EXPECT_EQ(reader.WordEnd(), 302);
  EXPECT_EQ(reader.ReadWord(), "y");

  reader.ValidateBuffer(0, static_cast<std::int32_t>(text.size()));
  reader.SetPosition(302);
  EXPECT_EQ(reader.ReadWordBack(), longWord.substr(0, 255));
  EXPECT_EQ(reader.WordStart(), 2);
  EXPECT_EQ(reader.WordEnd(), 302);
  EXPECT_EQ(reader.ReadWordBack(), "x");
}

TEST(BufStreamWords, ReadWordBackNeedsATypeMap) {
  MemorySource source("one two");
  TBufStream reader(&source, Delimiters());
  reader.SetPosition(7);
  EXPECT_EQ(reader.ReadWordBack(), "");
  EXPECT_EQ(reader.Position(), 7);
}

// --- FindString -----------------------------------------------------------------------

TEST(BufStreamFindString, FindsOccurrencesThatStraddleBuffers) {
  const std::string marker = "<head>";
  for (std::int32_t chunk : {INT32_MAX, 1000}) {
    for (std::int32_t at : {0, kBuf - 6, kBuf - 5, kBuf - 1, kBuf, 2 * kBuf - 3, 5 * kBuf - 6}) {
      SCOPED_TRACE(testing::Message() << "at " << at << ", chunk " << chunk);
      std::string text(5 * kBuf, 'x');
      text.replace(at, marker.size(), marker);
      MemorySource source(text, chunk);
      TBufStream reader(&source, Delimiters());
      EXPECT_EQ(reader.FindString(marker, false), at);
      EXPECT_EQ(reader.Position(), at);
      reader.ReadChar();
      EXPECT_EQ(reader.FindString(marker, false), -1);
    }
  }
}

TEST(BufStreamFindString, BlankAfterRule) {
  struct Case {
    const char* what;
    std::string text;
    std::string marker;
    std::int32_t expected;
  } cases[] = {
      {"followed by a letter, then by a space", "<h>x <h> ", "<h>", 5},
      {"line feed and carriage return count", "<h>x<h>\n", "<h>", 4},
      {"a failed occurrence overlaps a good one", "aaa b", "aa", 1},
      {"a marker ending in a space needs no follower", "ab x", "ab ", 0},
      {"nothing follows at the end", "x <h>", "<h>", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySource source(c.text);
    TBufStream reader(&source, Delimiters());
    EXPECT_EQ(reader.FindString(c.marker, true), c.expected);
  }
}

TEST(BufStreamFindString, BlankAfterAcrossTheBufferEnd) {
  // The marker ends at the last byte of the first buffer; its follower is the
  // first byte of the next. A rejected occurrence just before it must not hide it.
  std::string text(3 * kBuf, 'x');
  text.replace(kBuf - 8, 4, "<h>y");
  text.replace(kBuf - 3, 4, "<h> ");
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  EXPECT_EQ(reader.FindString("<h>", true), kBuf - 3);
}

TEST(BufStreamFindString, StaysInsideTheRange) {
  MemorySource source("..ab..ab..");
  TBufStream reader(&source, Delimiters());
  reader.SetRange(3, 8);
  EXPECT_EQ(reader.FindString("ab", false), 6);  // the one at 2 begins before the range
  reader.SetRange(0, 7);
  reader.SetPosition(3);
  EXPECT_EQ(reader.FindString("ab", false), -1);  // the one at 6 ends past the range end
  reader.SetRange(0, 8);
  reader.SetPosition(3);
  EXPECT_EQ(reader.FindString("ab", false), 6);  // ending exactly at the range end
  EXPECT_EQ(reader.FindString("", false), -1);
}

TEST(BufStreamFindString, CallbackSeesEachBufferAndCanStop) {
  std::string text(4 * kBuf, 'x');
  text += "<h>";
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  std::vector<std::int32_t> offsets;
  auto record = [&](TBufStream& r, std::int32_t offset, bool&) {
    EXPECT_EQ(&r, &reader);
    offsets.push_back(offset);
  };
  EXPECT_EQ(reader.FindString("<h>", false, record), 4 * kBuf);
  ASSERT_GE(offsets.size(), 4u);
  EXPECT_EQ(offsets.front(), 0);
  EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));

  offsets.clear();
  reader.SetPosition(0);
  EXPECT_EQ(reader.FindString("<h>", false, record, true), 4 * kBuf);
  EXPECT_TRUE(std::all_of(offsets.begin(), offsets.end(), [](std::int32_t o) { return o == -1; }));

  int calls = 0;
  reader.SetPosition(0);
  EXPECT_EQ(reader.FindString("<h>", false,
                              [&](TBufStream&, std::int32_t, bool& stop) { stop = ++calls == 2; }),
            -1);
  EXPECT_EQ(calls, 2);
}

// --- FindFirstOf ------------------------------------------------------------------------

TEST(BufStreamFindFirstOf, FindsTheTextRangeBeforeTheNextHeading) {
  struct Case {
    const char* what;
    std::string text;
    std::int32_t result, p1, p2, p3;
  } cases[] = {
      {"range, then the next heading", "<t>A</t> <h>", 9, 0, 4, 9},
      {"range and no next heading", "<t>A</t>", -1, 0, 4, -1},
      {"heading first", "<h> <t>A</t>", 0, -1, -1, 0},
      {"heading inside the range", "<t>A <h> </t>", 5, -1, -1, 5},
      {"heading right at the end marker", "<t>A</t><h>", 8, 0, 4, 8},
      {"an end marker before the start is not the end", "</t> <t>A</t> <h>", 14, 5, 9, 14},
      {"a second start marker does not move the range", "<t>A <t>B</t>", -1, 0, 9, -1},
      {"no end marker", "<t>A <h>", 5, -1, -1, 5},
      {"nothing at all", "plain text", -1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySource source(c.text);
    TBufStream reader(&source, Delimiters());
    std::int32_t p1 = 0, p2 = 0, p3 = 0;
    EXPECT_EQ(reader.FindFirstOf({"<t>"}, {"</t>"}, {"<h>"}, p1, p2, p3), c.result);
    EXPECT_EQ(p1, c.p1);
    EXPECT_EQ(p2, c.p2);
    EXPECT_EQ(p3, c.p3);
  }
}

TEST(BufStreamFindFirstOf, MarkersOfDifferentLengthsStraddlingBuffers) {
  // The long start marker straddles the first buffer end, the short heading
  // marker comes much later; then the same with the end marker straddling.
  const std::string start = "<text type=body>", stop = "</text>", head = "<h>";
  for (std::int32_t at : {kBuf - 15, kBuf - 1, kBuf - 8}) {
    SCOPED_TRACE(testing::Message() << "at " << at);
    std::string text(static_cast<std::size_t>(at), 'x');
    text += start + "A" + stop + std::string(3 * kBuf, 'y') + head;
    MemorySource source(text, 700);
    TBufStream reader(&source, Delimiters());
    std::int32_t p1, p2, p3;
    const std::int32_t headAt = static_cast<std::int32_t>(text.size() - head.size());
    EXPECT_EQ(reader.FindFirstOf({start}, {stop}, {head}, p1, p2, p3), headAt);
    EXPECT_EQ(p1, at);
    EXPECT_EQ(p2, at + static_cast<std::int32_t>(start.size()) + 1);
    EXPECT_EQ(p3, headAt);
  }
}

TEST(BufStreamFindFirstOf, EachMarkerHasItsOwnBlankRuleAndEmptyFindsNothing) {
  MemorySource source("<t>x <t> A</t>x </t>\r<h>y <h>\n");
  TBufStream reader(&source, Delimiters());
  std::int32_t p1, p2, p3;
  EXPECT_EQ(reader.FindFirstOf({"<t>", true}, {"</t>", true}, {"<h>", true}, p1, p2, p3), 26);
  EXPECT_EQ(p1, 5);
  EXPECT_EQ(p2, 16);
  EXPECT_EQ(p3, 26);

  reader.SetPosition(0);
  EXPECT_EQ(reader.FindFirstOf({"<t>"}, {""}, {"<h>"}, p1, p2, p3), -1);
  EXPECT_EQ(p3, -1);
}

TEST(BufStreamFindFirstOf, CallbackCanStop) {
  std::string text(3 * kBuf, 'x');
  text += "<t>A</t><h>";
  MemorySource source(text);
  TBufStream reader(&source, Delimiters());
  std::int32_t p1, p2, p3;
  EXPECT_EQ(reader.FindFirstOf({"<t>"}, {"</t>"}, {"<h>"}, p1, p2, p3,
                               [](TBufStream&, std::int32_t offset, bool& stop) { stop = offset > kBuf; }),
            -1);
  EXPECT_EQ(p1, -1);
  EXPECT_EQ(p3, -1);
}

}  // namespace
}  // namespace korvane
