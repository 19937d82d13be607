// The raw print of a corpus text: the chunk loop with its progress display.
#include "corpus/raw_text_print.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/host.h"
#include "corpus/synchro_stream.h"

namespace korvane {
namespace {

// The progress line shows the printing speed at most this often.
constexpr std::uint32_t kSpeedDisplayIntervalMs = 300;

// The part of a path or URL after its last slash.
std::string NamePart(const std::string& name) {
  const std::size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string PrintingLabel(const std::string& name) { return "Printing " + NamePart(name) + "..."; }

std::string LinesPerSecondText(long long linesPerSecond) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld lines/sec", linesPerSecond);
  return text;
}

}  // namespace

std::string PrintCorpusTextQuestion(std::int32_t lineCount) {
  return "Print complete text of corpus?\r\n(Approximately " + std::to_string(lineCount) + " lines)";
}

bool ConfirmPrintCorpusText(Host& host, std::int32_t lineCount) {
  return lineCount <= kRawPrintQuestionLines || host.AskYesNo(PrintCorpusTextQuestion(lineCount), true);
}

void PrintRawText(Host& host, TSynchroStream& source, std::int32_t textSize, const std::string& name,
                  TRawTextPrinter& printer) {
  std::unique_ptr<TProgressForm> progress = host.CreateProgress(false);
  progress->Caption = "Printing Progress";
  progress->ProgressLabel = PrintingLabel(name);
  progress->SpecialText.clear();
  progress->Show();
  progress->Update();

  printer.BeginDoc("Korvane - " + name);
  try {
    const std::uint32_t start = host.GetTickCount();
    std::uint32_t lastShown = start;
    std::int64_t written = 0;
    std::int64_t lines = 0;
    std::int32_t position = 0;
    char chunk[kRawPrintChunkSize];
    for (;;) {
      const std::int32_t n = source.ReadAt(chunk, kRawPrintChunkSize, position);
      if (n <= 0) break;
      printer.Write(chunk, n);
      written += n;
      lines += std::count(chunk, chunk + n, '\r');
      if (textSize > 0)
        progress->ProgressBar = static_cast<int>(
            std::min<std::int64_t>(100, std::llround(100.0 * static_cast<double>(written) / textSize)));
      const std::uint32_t now = host.GetTickCount();
      if (now - lastShown > kSpeedDisplayIntervalMs) {
        const double seconds = (now - start) / 1000.0;
        progress->SpecialText = LinesPerSecondText(std::llround(static_cast<double>(lines) / seconds));
        lastShown = now;
      }
      progress->Update();
      host.ProcessMessages();
      if (progress->Tag != 0) {
        printer.Abort();
        return;
      }
    }
  } catch (...) {
    printer.Abort();
    throw;
  }
  progress.reset();
  printer.EndDoc();
}

}  // namespace korvane
