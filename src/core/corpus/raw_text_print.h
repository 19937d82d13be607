// Printing a corpus text as it is: its raw bytes, tags and all, copied to the
// printer in chunks of 4,096 bytes with a progress dialog that shows the share
// printed and the lines per second, and whose Cancel aborts the print job.
// The printer itself is the desktop's; the core sees it as a text file that
// takes bytes (TRawTextPrinter).
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class Host;
class TSynchroStream;

// The printer opened as a text file: a job that takes raw bytes, in which a
// carriage return + line feed (or either alone) ends a printed line.
class TRawTextPrinter {
 public:
  virtual ~TRawTextPrinter() = default;
  // Starts the print job. Throws Exception when the printer cannot start.
  virtual void BeginDoc(const std::string& title) = 0;
  // Prints bytes. Throws Exception on a printer error.
  virtual void Write(const char* bytes, std::int32_t length) = 0;
  // Ends the job and sends it to the printer.
  virtual void EndDoc() = 0;
  // Drops the job. Never throws.
  virtual void Abort() = 0;
};

inline constexpr std::int32_t kRawPrintChunkSize = 4096;
// Texts with more lines than this are printed only after a question.
inline constexpr std::int32_t kRawPrintQuestionLines = 100;

// "Print complete text of corpus?\r\n(Approximately N lines)".
std::string PrintCorpusTextQuestion(std::int32_t lineCount);

// Asks the question above when the text has more than 100 lines; true when
// printing may go on. User-interface thread.
bool ConfirmPrintCorpusText(Host& host, std::int32_t lineCount);

// Prints the text of source (name is its path or URL, textSize the size its
// line index measured) through printer, with a progress dialog "Printing
// Progress". Lets pending messages run after every chunk; Cancel aborts the
// job and ends silently. A printer error aborts the job and propagates. The
// caller sets the printing busy flag. User-interface thread.
void PrintRawText(Host& host, TSynchroStream& source, std::int32_t textSize, const std::string& name,
                  TRawTextPrinter& printer);

}  // namespace korvane
