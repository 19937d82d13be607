// Loading, removing and describing the corpus.
#include "corpus/corpus_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/synchro_stream.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class CorpusTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TCorpusText& t : state.corpus.Texts) names.push_back(t.CorpusFiles);
    return names;
  }
};

TEST(IsTextFileTest, CountsNonTextBytesBeforeTheFirstZero) {
  test::TempDir dir;
  struct Case {
    const char* what;
    std::string bytes;
    bool text;
  } cases[] = {
      {"plain text with tab, CR LF and form feed", "a\tb\r\nc\fd", true},
      {"4 control bytes", std::string("ab\x01\x02\x03\x04", 6), true},
      {"5 control bytes", std::string("ab\x01\x02\x03\x04\x05", 7), false},
      {"127 and 255 count", std::string("\x7f\xff\x7f\xff\x7f", 5), false},
      {"empty file", "", true},
      {"first byte zero", std::string("\0\x01\x02\x03\x04\x05\x06", 7), true},
      {"zero ends the count", std::string("\x01\x02\x03\x04\0\x05\x06", 7), true},
      {"only the first 256 bytes count", std::string(256, 'a') + std::string(10, '\x01'), true},
  };
  for (const Case& c : cases) {
    const std::string path = dir.WriteFile("f.bin", c.bytes);
    EXPECT_EQ(IsTextFile(path), c.text) << c.what;
  }
  EXPECT_TRUE(IsTextFile((dir.path() / "missing.txt").string()))
      << "an unreadable file is left for the loader to report";
}

TEST(CorpusTextsTest, SizeAndStatusTexts) {
  EXPECT_EQ(SizeText(0), "0 bytes");
  EXPECT_EQ(SizeText(1), "1 byte");
  EXPECT_EQ(SizeText(1023), "1023 bytes");
  EXPECT_EQ(SizeText(2048), "2.00 kbytes");
  EXPECT_EQ(SizeText(1048575), "1024.00 kbytes");
  EXPECT_EQ(SizeText(1572864), "1.50 mbytes");
  EXPECT_EQ(WithThousands(999), "999");
  EXPECT_EQ(WithThousands(1000), "1,000");
  EXPECT_EQ(WithThousands(12345), "12,345");
  EXPECT_EQ(WithThousands(2147483647), "2,147,483,647");
}

TEST_F(CorpusTest, CorpusInfoFollowsTheLoadedTexts) {
  EXPECT_EQ(CorpusInfoText(state.corpus), "0 bytes, 0 files");
  EXPECT_EQ(StatusLineText(state.corpus), " No files loaded");
  LoadTexts(state, {dir.WriteFile("one.txt", "x")});
  EXPECT_EQ(CorpusInfoText(state.corpus), "1 byte, 1 file");
  EXPECT_EQ(StatusLineText(state.corpus), " 1 file in current corpus");
  LoadTexts(state, {dir.WriteFile("two.txt", std::string(2047, 'y'))});
  EXPECT_EQ(CorpusInfoText(state.corpus), "2.00 kbytes, 2 files");
  EXPECT_EQ(StatusLineText(state.corpus), " 2 files in current corpus");
  EXPECT_EQ(StatusLineText(state.corpus, "Searching..."), " Searching...");
}

// A source whose size is not known yet, like a download without a length.
class UndeterminedStream : public TSynchroStream {
 public:
  std::int32_t GetSize() override { return INT32_MAX; }
  bool WaitFor(std::int32_t) override { return false; }
  std::int32_t Read(void*, std::int32_t) override { return 0; }
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
  std::int32_t Seek(std::int32_t, int) override { return 0; }
};

TEST_F(CorpusTest, UndeterminedSizeLeavesTheInfoEmpty) {
  LoadTexts(state, {dir.WriteFile("a.txt", "abc")});
  TCorpusText download;
  download.CorpusFiles = "http://127.0.0.1/a.txt";
  download.CorpusStreams = std::make_unique<UndeterminedStream>();
  state.corpus.Texts.push_back(std::move(download));
  EXPECT_EQ(CorpusInfoText(state.corpus), "");
}

TEST_F(CorpusTest, MissingFileIsReportedAndOthersStillLoad) {
  const std::string missing = (dir.path() / "missing.txt").string();
  const std::string good = dir.WriteFile("good.txt", "words here");
  LoadTexts(state, {missing, good});
  EXPECT_EQ(Names(), std::vector<std::string>{good});
  EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            std::vector<std::string>{"Unable to open file: " + missing + "."});
  EXPECT_TRUE(host.shownTexts.empty()) << "the viewer opens only for the request's first name";
}

TEST_F(CorpusTest, DuplicateNameInAnyCaseShowsTheLoadedText) {
  const std::string a = dir.WriteFile("Alpha.txt", "a");
  const std::string b = dir.WriteFile("beta.txt", "b");
  LoadTexts(state, {a, b});
  EXPECT_EQ(host.shownTexts, std::vector<int>{0});
  std::string upper = (dir.path() / "BETA.TXT").string();
  EXPECT_FALSE(LoadText(state, upper, ""));
  EXPECT_EQ(state.corpus.Count(), 2);
  EXPECT_EQ(host.shownTexts, (std::vector<int>{0, 1}));
}

TEST_F(CorpusTest, NonTextFileAsksFirst) {
  const std::string binary = dir.WriteFile("data.bin", std::string("\x01\x02\x03\x04\x05\x06", 6));
  host.answers = {TModalResult::mrCancel, TModalResult::mrOk};
  LoadTexts(state, {binary});
  EXPECT_EQ(state.corpus.Count(), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, binary + "\r\ndoes not seem to be a text file. Open anyway?");
  EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(host.messages[0].focused, TMsgDlgBtn::mbOK);
  LoadTexts(state, {binary});
  EXPECT_EQ(state.corpus.Count(), 1);
}

TEST_F(CorpusTest, RemovingATextRenumbersTheLaterOnes) {
  const std::string a = dir.WriteFile("a.txt", "aaa");
  const std::string b = dir.WriteFile("b.txt", "bbbb");
  const std::string c = dir.WriteFile("c.txt", "cc");
  LoadTexts(state, {a, b, c});
  for (TCorpusText& t : state.corpus.Texts) t.WordCount = 3;
  RecomputeTotalWords(state.corpus);
  EXPECT_EQ(state.corpus.TotalWords, 9);

  RemoveText(state, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{a, c}));
  EXPECT_EQ(host.removedTexts, std::vector<int>{1});
  EXPECT_EQ(state.corpus.Texts[1].CorpusStreams->GetSize(), 2) << "text 1 is now c.txt";
  EXPECT_EQ(state.corpus.TotalWords, 6);
  EXPECT_TRUE(std::filesystem::exists(b)) << "a corpus file itself is never deleted";

  UnloadCorpus(state);
  EXPECT_TRUE(state.corpus.Empty());
  EXPECT_EQ(state.corpus.TotalWords, 0);
}

TEST_F(CorpusTest, TotalWordsIsZeroWhileATextIsUncountedAndNeverOverflows) {
  LoadTexts(state, {dir.WriteFile("a.txt", "a"), dir.WriteFile("b.txt", "b")});
  state.corpus.Texts[0].WordCount = INT32_MAX - 1;
  state.corpus.Texts[1].WordCount = 5;
  RecomputeTotalWords(state.corpus);
  EXPECT_EQ(state.corpus.TotalWords, INT32_MAX);
  state.corpus.Texts[1].WordCount = 0;
  RecomputeTotalWords(state.corpus);
  EXPECT_EQ(state.corpus.TotalWords, 0);
}

TEST(NormalizePathTest, AbsoluteWithSingleSeparators) {
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(NormalizePath("notes.txt"), "notes.txt") << "a bare name stays bare";
  EXPECT_EQ(NormalizePath("dir//sub/./a.txt"), cwd + "/dir/sub/a.txt");
  EXPECT_EQ(NormalizePath("/tmp//x/../y.txt"), "/tmp/y.txt");
  EXPECT_EQ(NormalizePath("/tmp/what?:*|.txt"), "/tmp/what?:*|.txt")
      << "characters that a file name may hold are kept";
}

TEST(IsURLTest, SchemesWithoutCase) {
  EXPECT_TRUE(IsURL("http://example/a.txt"));
  EXPECT_TRUE(IsURL("HTTP://x"));
  EXPECT_TRUE(IsURL("ftp://x/y"));
  EXPECT_FALSE(IsURL("https://x"));
  EXPECT_FALSE(IsURL("/home/http://"));
}

}  // namespace
}  // namespace korvane
