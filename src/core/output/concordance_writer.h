// The concordance writer: a concordance as a plain-text file or an HTML page.
//
// It walks the hit list in its current order, rebuilds each hit's line with
// the export's own context and suppress settings, and writes one record per
// hit: an optional information line (text name, line, page), the values of
// the tracked tags, the hit's number with its letter, and the line with the
// hit marked ("[[" … "]]" in text, a highlighted cell split at the hit in
// HTML). A plain-text keyword-in-context export makes two passes over the
// hits: the first finds the largest hit column, the second indents every
// line so that all hits start in that column.
//
// The batch search writes its result files with the same HTML head, record
// and tail. Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "search/line_builder.h"

namespace korvane {

class ConcordConfig;
class Corpus;
class ProgramState;
class TConcordItems;
class TTagQuery;
class TConcordItem;

// What an export writes. The command line maps its flags onto these fields;
// DefaultOutputOptions gives the values the Save command starts from.
struct TConcordanceOutputOptions {
  std::int32_t MaximumLines = 0;  // 0: every hit
  bool ShowFileNames = false;
  bool ConcealHits = false;        // hit characters written as "_"
  bool ConcealCollocates = false;  // collocate characters written as "_"
  bool LineNumbers = false;
  bool PageNumbers = false;
  bool RelativeLines = false;  // counts only together with PageNumbers
  bool TrackedTags = false;
  bool SortLabels = false;  // the letters the user assigned
  bool Html = false;
  // The context of the lines and the classes they leave out.
  std::uint8_t ContextType = ctxCharacters;
  std::int32_t ContextSizes[4] = {40, 8, 3, 1};
  bool SuppressTags = false;
  bool SuppressPartOfSpeech = false;
  bool SuppressWords = false;
};

// The list's display block, conceal states and suppress flags, with file
// names shown when the corpus holds more than one text.
TConcordanceOutputOptions DefaultOutputOptions(const TConcordItems& list, const Corpus& corpus);

// The charset name the HTML head declares for a code page; empty for a code
// page without one.
std::string HtmlCharsetName(std::uint32_t codePage);

// The text that ends an HTML export, line break included.
inline constexpr const char* kHtmlTail = "</table>\r\n\r\n</body>\r\n\r\n</html>\r\n";

class TConcordanceWriter {
 public:
  // A writer for the hits of list over state's corpus and settings; tags
  // answers the line, page and tracked-tag questions. All must outlive it.
  TConcordanceWriter(ProgramState& state, TConcordItems& list, const TTagQuery& tags,
                     const TConcordanceOutputOptions& options);

  // Writes the whole export to out: the head (HTML), one record per hit up
  // to MaximumLines, the tail (HTML). Shows a progress form captioned
  // "Saving" and lets pending messages run once per hit; on Cancel it stops
  // at once, leaving what was written (no HTML tail), and returns false.
  // Errors of the stream show in its state.
  bool Write(std::ostream& out, const std::string& title);
  // Write into the file path, which is replaced only when the whole text is
  // ready (after a Cancel, with what was written). Throws Exception "Unable
  // to open file: path." when the file cannot be written; the previous file
  // is then unchanged. Returns false after a Cancel.
  bool Save(const std::string& path, const std::string& title);

  // The HTML head: the charset of NormalFont's character set (codePage is
  // the current language's, for the sets that have none of their own), title "Search Result for '<title>'", the styles
  // of NormalFont, HiliteFont and CollocateFont, the table and its column
  // headers (one text column for the Lines and Sentence contexts, two
  // otherwise).
  static void WriteHtmlHead(std::ostream& out, const ConcordConfig& config, std::uint32_t codePage,
                            std::uint8_t contextType, const std::string& title);
  // The record of hit number index (0-based) with its built line, the line
  // indented by indent spaces (text only).
  void WriteRecord(std::ostream& out, int index, const TConcordItem& item, TConcordLine line,
                   int indent) const;
  static void WriteHtmlTail(std::ostream& out);

 private:
  // The hit's line as the export shows it; "<out of memory>" without
  // segments when it cannot be built. Tabs become spaces.
  TConcordLine ExportLine(int index) const;
  // Text name, line and page of the hit, as the options ask for them.
  std::string InformationText(const TConcordItem& item) const;
  void WriteNumber(std::ostream& out, int index, const TConcordItem& item) const;
  void WriteHtmlLine(std::ostream& out, TConcordLine line) const;
  void WriteTextLine(std::ostream& out, TConcordLine line, int indent) const;

  ProgramState& state_;
  TConcordItems& list_;
  const TTagQuery& tags_;
  TConcordanceOutputOptions options_;
  int tagLabelWidth_ = 0;
};

}  // namespace korvane
