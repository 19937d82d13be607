// The concordance writer: the export loop with its progress and passes, the
// HTML head and tail, and the records.
#include "output/concordance_writer.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "results/concord_items.h"
#include "search/language_table.h"
#include "tags/tag_query.h"

namespace korvane {

namespace {

constexpr const char* kLineBreak = "\r\n";
// Every other record (hits 1, 3, 5, … as numbered) has this background.
constexpr const char* kShadedRow = "bgcolor=\"#E7FAFE\"";

struct CharsetName {
  std::uint32_t CodePage;
  const char* Name;
};

constexpr CharsetName kCharsets[] = {
    {1252, "windows-1252"},      {20105, "us-ascii"},     {28592, "iso-8859-2"},
    {1250, "windows-1250"},      {1251, "windows-1251"},  {1253, "windows-1253"},
    {1254, "windows-1254"},      {932, "shift-jis"},      {51932, "x-euc-jp"},
    {50220, "iso-2022-jp"},      {1257, "windows-1257"},  {950, "big5"},
    {936, "gb2312"},             {20866, "koi8-r"},       {949, "ks_c_5601"},
    {1255, "windows-1255"},      {862, "dos-862"},        {1256, "windows-1256"},
    {720, "dos-720"},            {874, "windows-874"},    {1258, "windows-1258"},
    {65001, "utf-8"},            {65000, "unicode-1-1-utf-7"}, {50225, "iso-2022-kr"},
    {52936, "hz-gb-2312"},       {28594, "iso-8859-4"},   {28595, "iso-8859-5"},
    {28597, "iso-8859-7"},       {28599, "iso-8859-9"},
};

// "#RRGGBB" of a colour held as 0x00BBGGRR.
std::string HtmlColor(std::int32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%.2X%.2X%.2X", static_cast<unsigned>(color & 0xFF),
                static_cast<unsigned>((color >> 8) & 0xFF),
                static_cast<unsigned>((color >> 16) & 0xFF));
  return text;
}

// The style block of one font in the HTML head.
std::string CssBlock(const TFont& font) {
  std::string css;
  css += (font.Style & fsBold) ? "font-weight: bold;" : "font-weight: normal;";
  css += kLineBreak;
  css += (font.Style & fsItalic) ? "font-style: italic;" : "font-style: normal;";
  css += kLineBreak;
  css += "font-size: " + std::to_string(font.Size) + "pt;" + kLineBreak;
  css += "color: " + HtmlColor(font.Color) + ";" + kLineBreak;
  if (font.Style & (fsUnderline | fsStrikeOut)) {
    css += "text-decoration: ";
    if (font.Style & fsUnderline) css += "underline ";
    if (font.Style & fsStrikeOut) css += "line-through";
    css += ";";
  }
  return css;
}

// The entity that stands for c in HTML text, or null when c stands for itself.
const char* HtmlEntity(char c) {
  switch (c) {
    case '<': return "&lt;";
    case '&': return "&amp;";
    default: return nullptr;
  }
}

// text with "<" and "&" written as entities.
std::string HtmlText(std::string_view text) {
  std::string html;
  html.reserve(text.size());
  for (char c : text) {
    if (const char* entity = HtmlEntity(c)) html += entity;
    else html += c;
  }
  return html;
}

// HtmlText of a line, moving its segments with the characters they cover: a
// segment that starts after an escaped character moves, one that holds it
// grows.
void EscapeHtmlLine(TConcordLine& line) {
  std::string html;
  html.reserve(line.Text.size());
  for (char c : line.Text) {
    const char* entity = HtmlEntity(c);
    if (!entity) {
      html += c;
      continue;
    }
    const auto at = static_cast<std::int32_t>(html.size());  // 0-based position of c
    const auto grow = static_cast<std::int32_t>(std::char_traits<char>::length(entity)) - 1;
    for (TSVFormatInfo& segment : line.Format) {
      if (segment.Start - 1 > at) segment.Start += grow;
      else if (at < segment.Start - 1 + segment.Length) segment.Length += grow;
    }
    html += entity;
  }
  line.Text = std::move(html);
}

// s right-aligned in a field of width characters.
std::string RightAligned(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

// "N/A" for a number below 0, else prefix and the number.
std::string NumberOrNA(const char* prefix, std::int32_t n) {
  return n < 0 ? std::string("N/A") : prefix + std::to_string(n);
}

bool OneTextColumn(std::uint8_t contextType) { return contextType >= ctxLines; }

}  // namespace

std::string HtmlCharsetName(std::uint32_t codePage) {
  for (const CharsetName& entry : kCharsets)
    if (entry.CodePage == codePage) return entry.Name;
  return {};
}

TConcordanceOutputOptions DefaultOutputOptions(const TConcordItems& list, const Corpus& corpus) {
  TConcordanceOutputOptions options;
  options.ShowFileNames = corpus.Count() > 1;
  options.ConcealHits = list.Display.ConcealHits;
  options.ConcealCollocates = list.Display.ConcealCollocates;
  options.ContextType = list.Display.ContextType;
  std::copy(std::begin(list.Display.ContextSizes), std::end(list.Display.ContextSizes),
            std::begin(options.ContextSizes));
  options.SuppressTags = list.SuppressTags;
  options.SuppressPartOfSpeech = list.SuppressPartOfSpeech;
  options.SuppressWords = list.SuppressWords;
  return options;
}

TConcordanceWriter::TConcordanceWriter(ProgramState& state, TConcordItems& list,
                                       const TTagQuery& tags,
                                       const TConcordanceOutputOptions& options)
    : state_(state), list_(list), tags_(tags), options_(options) {
  if (options_.ContextType > ctxSentence) options_.ContextType = ctxCharacters;
  if (options_.TrackedTags) {
    std::size_t longest = 0;
    const int count = tags_.TrackedTagCount();
    for (int t = 0; t < count; ++t) longest = std::max(longest, tags_.TrackedTagName(t).size());
    tagLabelWidth_ = static_cast<int>(longest) + 2;
  }
}

bool TConcordanceWriter::Write(std::ostream& out, const std::string& title) {
  const int count = list_.Count();
  const int hits = options_.MaximumLines > 0 ? std::min(count, options_.MaximumLines) : count;
  const bool twoPasses = !options_.Html && options_.ContextType <= ctxWords;
  const int passes = twoPasses ? 2 : 1;
  const int total = std::max(1, hits * passes);

  std::unique_ptr<TProgressForm> progress = state_.host.CreateProgress(false);
  progress->Caption = "Saving";
  progress->ProgressLabel.clear();
  progress->Show();
  progress->Update();

  if (options_.Html)
    WriteHtmlHead(out, state_.ConcordConfig, state_.Language.CodePage(), options_.ContextType,
                  title);
  int done = 0;
  std::int32_t widestColumn = 0;
  for (int pass = 1; pass <= passes; ++pass) {
    for (int i = 0; i < hits; ++i) {
      state_.host.ProcessMessages();
      if (progress->Tag != 0) return false;
      if (i >= list_.Count()) break;  // hits deleted meanwhile
      ++done;
      progress->ProgressBar = static_cast<int>(static_cast<std::int64_t>(done) * 100 / total);
      progress->Update();

      TConcordLine line = ExportLine(i);
      std::int32_t column = 0;
      for (const TSVFormatInfo& segment : line.Format)
        if (segment.Hit) {
          column = segment.Start;
          break;
        }
      if (pass < passes) {
        widestColumn = std::max(widestColumn, column);
        continue;
      }
      const int indent = twoPasses && column < widestColumn ? widestColumn - column : 0;
      WriteRecord(out, i, list_.Item(i), std::move(line), indent);
    }
  }
  if (options_.Html) WriteHtmlTail(out);
  return true;
}

bool TConcordanceWriter::Save(const std::string& path, const std::string& title) {
  std::ostringstream text;
  const bool complete = Write(text, title);
  WriteFileAtomically(path, text.view(), UnableToOpenFileMessage(path));
  return complete;
}

TConcordLine TConcordanceWriter::ExportLine(int index) const {
  const std::uint8_t type = options_.ContextType;
  TConcordLine line;
  try {
    line = list_.BuildLine(
        index, list_.LineSettingsFor(type, options_.ContextSizes[type],
                                     DisplayMask(options_.SuppressTags,
                                                 options_.SuppressPartOfSpeech,
                                                 options_.SuppressWords)));
  } catch (const std::exception&) {
    line = TConcordLine{kOutOfMemoryLine, {}};
  }
  std::replace(line.Text.begin(), line.Text.end(), '\t', ' ');
  return line;
}

void TConcordanceWriter::WriteHtmlHead(std::ostream& out, const ConcordConfig& config,
                                       std::uint32_t codePage, std::uint8_t contextType,
                                       const std::string& title) {
  const std::string charset =
      HtmlCharsetName(CodePageOfCharset(config.NormalFont.Charset, codePage));
  out << "<html>\r\n\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset="
      << charset << "\">\r\n\r\n<title>\r\nSearch Result for '" << HtmlText(title)
      << "'\r\n</title>\r\n\r\n<style>\r\n.normal {\r\n"
      << CssBlock(config.NormalFont) << "\r\n}\r\n.hilite {\r\n"
      << CssBlock(config.HiliteFont) << "\r\n}\r\n.colloc {\r\n"
      << CssBlock(config.CollocateFont)
      << "\r\n}\r\n</style>\r\n</head>\r\n\r\n<body>\r\n<table bordercolor=\"#000000\" "
         "cellspacing=\"0\" cellpadding=\"1\"\r\nclass=normal padding: 5px;\" width=\"100%\">"
      << kLineBreak;
  out << "  <th width=\"7%\" align=\"center\">\r\n    No\r\n  </th>" << kLineBreak;
  if (OneTextColumn(contextType))
    out << "  <th align=\"left\">\r\n    Text\r\n  </th>" << kLineBreak;
  else
    out << "  <th align=\"center\" colspan=\"2\">\r\n    Text\r\n  </th>" << kLineBreak;
}

void TConcordanceWriter::WriteHtmlTail(std::ostream& out) { out << kHtmlTail; }

std::string TConcordanceWriter::InformationText(const TConcordItem& item) const {
  std::string text;
  const auto add = [&text](const std::string& part) {
    if (!text.empty()) text += ", ";
    text += part;
  };
  if (options_.ShowFileNames && item.TextIndex >= 0 && item.TextIndex < state_.corpus.Count())
    text = state_.corpus.Texts[static_cast<std::size_t>(item.TextIndex)].CorpusFiles;
  const bool relative = options_.PageNumbers && options_.RelativeLines;
  if (options_.LineNumbers && !relative)
    add(NumberOrNA("Line ", tags_.LineNumberAt(item.TextIndex, item.HitStart)));
  if (options_.PageNumbers) {
    add(NumberOrNA("Page ", tags_.PageNumberAt(item.TextIndex, item.HitStart)));
    if (relative)
      text += ", Line " + NumberOrNA("", tags_.RelativeLineAt(item.TextIndex, item.HitStart));
  }
  return text;
}

void TConcordanceWriter::WriteRecord(std::ostream& out, int index, const TConcordItem& item,
                                     TConcordLine line, int indent) const {
  const bool html = options_.Html;
  const std::string rowOpen =
      std::string("  <tr ") + (index % 2 == 0 ? kShadedRow : "") + ">" + kLineBreak;
  const std::string cellOpen = std::string("   <td colspan=") +
                               (OneTextColumn(options_.ContextType) ? "\"2\"" : "\"3\"") +
                               " align=\"left\">" + kLineBreak;
  if (html) out << rowOpen;

  bool cellOpened = false;
  const std::string information = InformationText(item);
  if (!information.empty()) {
    out << kLineBreak;
    if (html) {
      out << cellOpen;
      cellOpened = true;
    }
    out << (html ? HtmlText(information) : information) << ":" << kLineBreak;
  }

  const int tagCount = tags_.TrackedTagCount();
  if (options_.TrackedTags && tagCount > 0) {
    if (html && !cellOpened) {
      out << cellOpen;
      cellOpened = true;
    }
    for (int t = 0; t < tagCount; ++t) {
      const std::string name = tags_.TrackedTagName(t);
      const std::string value =
          tags_.TagValueAt(item.TextIndex, item.HitStart, t).value_or("N/A");
      if (html)
        out << RightAligned(" <br><b> " + HtmlText(name) + " </b> " + ": ", tagLabelWidth_)
            << HtmlText(value) << kLineBreak;
      else
        out << RightAligned(name + ": ", tagLabelWidth_) << value << kLineBreak;
    }
  }
  if (cellOpened) out << "   </td>" << kLineBreak << "  </tr>" << kLineBreak << rowOpen;

  WriteNumber(out, index, item);

  // Concealed characters become "_" before anything is escaped, so that
  // one concealed character stays one "_".
  for (const TSVFormatInfo& segment : line.Format) {
    if (segment.Hit ? !options_.ConcealHits : !options_.ConcealCollocates) continue;
    const auto from = static_cast<std::size_t>(segment.Start - 1);
    const auto to = std::min(line.Text.size(), from + static_cast<std::size_t>(segment.Length));
    for (std::size_t k = from; k < to; ++k) line.Text[k] = '_';
  }
  if (html)
    WriteHtmlLine(out, std::move(line));
  else
    WriteTextLine(out, std::move(line), indent);
}

void TConcordanceWriter::WriteNumber(std::ostream& out, int index,
                                     const TConcordItem& item) const {
  std::string number = RightAligned(std::to_string(index + 1), 4) + ". ";
  if (options_.SortLabels)
    number += item.Letter != kNoLetter ? std::string(1, static_cast<char>(item.Letter)) + " "
                                       : std::string("  ");
  if (options_.Html)
    out << "   <td align=\"center\"> " << kLineBreak << number << kLineBreak << "   </td>";
  else
    out << number;
}

void TConcordanceWriter::WriteHtmlLine(std::ostream& out, TConcordLine line) const {
  EscapeHtmlLine(line);
  std::string& text = line.Text;
  // The line is split where the hit's mark begins; marks inserted before
  // that place move it.
  std::size_t hitAt = std::string::npos;
  const auto insert = [&text, &hitAt](std::size_t at, const std::string& mark) {
    text.insert(at, mark);
    if (hitAt != std::string::npos && at <= hitAt) hitAt += mark.size();
  };
  for (auto segment = line.Format.rbegin(); segment != line.Format.rend(); ++segment) {
    const auto from = std::min(text.size(), static_cast<std::size_t>(segment->Start - 1));
    const auto to = std::min(text.size(), from + static_cast<std::size_t>(segment->Length));
    insert(to, "</b>");
    if (segment->Hit) {
      text.insert(from, "<b class=hilite>");
      hitAt = from;
    } else {
      insert(from, "<b class=colloc style=\"color: " + HtmlColor(segment->Font.Color) + ";\">");
    }
  }
  const std::string left = hitAt == std::string::npos ? text : text.substr(0, hitAt);
  const std::string right = hitAt == std::string::npos ? std::string() : text.substr(hitAt);
  if (OneTextColumn(options_.ContextType))
    out << "<td align= \"left\">" << left << right << "</td>";
  else if (!right.empty())
    out << "<td align= \"right\">" << left << "</td>" << "<td align= \"left\">" << right
        << "</td>";
  else
    out << "<td align= \"center\" colspan=\"2\">" << left << "</td>";
  out << kLineBreak << "  </tr>" << kLineBreak;
}

void TConcordanceWriter::WriteTextLine(std::ostream& out, TConcordLine line, int indent) const {
  for (const TSVFormatInfo& segment : line.Format) {
    if (!segment.Hit || segment.Length <= 0) continue;
    const auto from = std::min(line.Text.size(), static_cast<std::size_t>(segment.Start - 1));
    const auto to = std::min(line.Text.size(), from + static_cast<std::size_t>(segment.Length));
    line.Text.insert(to, "]]");
    line.Text.insert(from, "[[");
    break;
  }
  out << std::string(static_cast<std::size_t>(std::max(indent, 0)), ' ') << line.Text
      << kLineBreak;
}

}  // namespace korvane
