// The raw print of a corpus text: the question before long texts, the bytes
// copied unchanged (tags included), progress, Cancel and printer errors.
#include "corpus/raw_text_print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/errors.h"
#include "app/scripted_host.h"
#include "corpus/synchro_stream.h"
#include "temp_dir.h"

namespace korvane {
namespace {

// A printer that keeps what it was given.
class RecordingPrinter : public TRawTextPrinter {
 public:
  void BeginDoc(const std::string& t) override { title = t; }
  void Write(const char* bytes, std::int32_t length) override {
    if (failAfterBytes >= 0 && static_cast<int>(printed.size()) >= failAfterBytes)
      throw Exception("Printer error.");
    printed.append(bytes, static_cast<std::size_t>(length));
  }
  void EndDoc() override { ended = true; }
  void Abort() override { aborted = true; }

  std::string title;
  std::string printed;
  bool ended = false;
  bool aborted = false;
  int failAfterBytes = -1;
};

TEST(RawTextPrintTest, AsksOnlyBeforeTextsOfMoreThanAHundredLines) {
  const struct {
    std::int32_t lines;
    bool asked;
  } cases[] = {{50, false}, {100, false}, {101, true}};
  for (const auto& c : cases) {
    ScriptedHost host;
    host.answers.push_back(TModalResult::mrNo);
    EXPECT_EQ(ConfirmPrintCorpusText(host, c.lines), !c.asked) << c.lines;
    ASSERT_EQ(host.messages.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(host.messages[0].text, "Print complete text of corpus?\r\n(Approximately 101 lines)");
      EXPECT_EQ(host.messages[0].focused, TMsgDlgBtn::mbYes);
    }
  }
}

TEST(RawTextPrintTest, PrintsTheRawBytesWithTagsAndShowsProgress) {
  test::TempDir dir;
  std::string text = "<p>tagged_NN text</p>\r\n";
  while (text.size() < 10000) text += "more <b>lines</b>\r\n";
  const std::string path = dir.WriteFile("tagged.txt", text);
  TFileSynchroStream source(path, TFileOpenMode::ReadShareWrite);
  ScriptedHost host;
  RecordingPrinter printer;
  PrintRawText(host, source, source.GetSize(), path, printer);
  EXPECT_EQ(printer.printed, text);
  EXPECT_EQ(printer.title, "Korvane - " + path);
  EXPECT_TRUE(printer.ended);
  EXPECT_FALSE(printer.aborted);
  ASSERT_GE(host.progressLog.size(), 3u);
  EXPECT_EQ(host.progressLog.front(), "show Printing Progress");
  EXPECT_EQ(host.progressLog.back(), "update Printing tagged.txt... | 100 | ");
  EXPECT_TRUE(host.liveProgress.empty());
}

TEST(RawTextPrintTest, CancelAndPrinterErrorsAbortTheJob) {
  test::TempDir dir;
  const std::string path = dir.WriteFile("long.txt", std::string(20000, 'x'));
  TFileSynchroStream source(path, TFileOpenMode::ReadShareWrite);
  {
    ScriptedHost host;
    host.cancelAfterProcessMessages = 2;
    RecordingPrinter printer;
    PrintRawText(host, source, source.GetSize(), path, printer);
    EXPECT_EQ(printer.printed.size(), 2u * kRawPrintChunkSize);
    EXPECT_TRUE(printer.aborted);
    EXPECT_FALSE(printer.ended);
  }
  {
    ScriptedHost host;
    RecordingPrinter printer;
    printer.failAfterBytes = kRawPrintChunkSize;
    EXPECT_THROW(PrintRawText(host, source, source.GetSize(), path, printer), Exception);
    EXPECT_TRUE(printer.aborted);
    EXPECT_TRUE(host.liveProgress.empty());
  }
}

}  // namespace
}  // namespace korvane
