// The concordance writer: the plain-text KWIC indent, the HTML head, rows
// and markup, the information and tracked-tag lines, limits, concealing,
// Cancel and saving to a file.
#include "output/concordance_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "results/concord_items.h"
#include "tags/tag_query.h"
#include "temp_dir.h"

namespace korvane {
namespace {

// Line, page and tracked-tag answers from fixed values.
class FakeTags final : public TTagQuery {
 public:
  std::int32_t line = -1, page = -1, relativeLine = -1;
  std::vector<std::string> names;
  std::vector<std::optional<std::string>> values;

  std::int32_t LineNumberAt(int, std::int32_t) const override { return line; }
  std::int32_t PageNumberAt(int, std::int32_t) const override { return page; }
  std::int32_t RelativeLineAt(int, std::int32_t) const override { return relativeLine; }
  int TrackedTagCount() const override { return static_cast<int>(names.size()); }
  std::string TrackedTagName(int i) const override { return names[static_cast<std::size_t>(i)]; }
  std::optional<std::string> TagValueAt(int, std::int32_t, int i) const override {
    return values[static_cast<std::size_t>(i)];
  }
};

class ConcordanceWriterTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  TConcordItems list{state};
  TNoTagInfo noTags;

  // Loads text and adds a hit on the first occurrence of hitText.
  TConcordItem& AddText(const std::string& text, const std::string& hitText) {
    const int n = state.corpus.Count();
    LoadTexts(state, {dir.WriteFile("t" + std::to_string(n) + ".txt", text)});
    EXPECT_EQ(state.corpus.Count(), n + 1);
    return AddHit(n, text, hitText);
  }

  TConcordItem& AddHit(int textIndex, const std::string& text, const std::string& hitText,
                       std::size_t from = 0) {
    auto item = std::make_unique<TConcordItem>();
    item->TextIndex = textIndex;
    item->HitStart = static_cast<std::int32_t>(text.find(hitText, from));
    item->HitEnd = item->HitStart + static_cast<std::int32_t>(hitText.size());
    return list.Item(list.Add(std::move(item)));
  }

  static TConcordanceOutputOptions Options(std::uint8_t type, std::int32_t size,
                                           bool html = false) {
    TConcordanceOutputOptions options;
    options.ContextType = type;
    options.ContextSizes[type] = size;
    options.Html = html;
    return options;
  }

  std::string Write(const TConcordanceOutputOptions& options, const TTagQuery& tags,
                    bool* complete = nullptr) {
    std::ostringstream out;
    TConcordanceWriter writer(state, list, tags, options);
    const bool done = writer.Write(out, "cat");
    if (complete) *complete = done;
    return out.str();
  }
  std::string Write(const TConcordanceOutputOptions& options) { return Write(options, noTags); }
};

TEST_F(ConcordanceWriterTest, TextExportIndentsKeywordLinesSoTheHitsLineUp) {
  // Hit columns 10, 14 and 12; the tab of the first text becomes a space.
  AddText("x\txx hit a", "hit");
  AddText("xxxxxxxx hit b", "hit");
  AddText("xxxxxx hit c", "hit");
  EXPECT_EQ(Write(Options(ctxCharacters, 20)),
            "   1.     ... x xx [[hit]] a ...\r\n"
            "   2. ... xxxxxxxx [[hit]] b ...\r\n"
            "   3.   ... xxxxxx [[hit]] c ...\r\n");
  // Lines contexts are written in one pass, unindented.
  EXPECT_EQ(Write(Options(ctxLines, 1)),
            "   1. x xx [[hit]] a\r\n"
            "   2. xxxxxxxx [[hit]] b\r\n"
            "   3. xxxxxx [[hit]] c\r\n");
}

TEST_F(ConcordanceWriterTest, HtmlEscapesTheLineAndKeepsTheMarkupOnItsCharacters) {
  // "<" before, inside and at the start of segments, collocates on both
  // sides of the hit, and an "&".
  const std::string text = "x<y a<b r<s z&w";
  TConcordItem& hit = AddText(text, "a<b");
  const struct {
    std::uint8_t slot;
    std::int32_t start, end;
  } collocates[] = {{pc1L, 0, 3}, {pc1R, 9, 11}};
  for (const auto& c : collocates) {
    hit.Words[c.slot] = text.substr(static_cast<std::size_t>(c.start),
                                    static_cast<std::size_t>(c.end - c.start));
    hit.WordStart[c.slot] = c.start;
    hit.WordEnd[c.slot] = c.end;
    hit.CollocateRanks[c.slot] = 0;
  }
  list.CollocOn = true;
  list.CollocFirst = pc4L;
  list.CollocLast = pc4R;
  list.CollocColor = clRed;

  const std::string html = Write(Options(ctxCharacters, 40, true));
  const std::string row =
      "  <tr bgcolor=\"#E7FAFE\">\r\n"
      "   <td align=\"center\"> \r\n   1. \r\n   </td>"
      "<td align= \"right\">... <b class=colloc style=\"color: #FF0000;\">x&lt;y</b> </td>"
      "<td align= \"left\"><b class=hilite>a&lt;b</b> "
      "r<b class=colloc style=\"color: #FF0000;\">&lt;s</b> z&amp;w ...</td>\r\n"
      "  </tr>\r\n";
  EXPECT_NE(html.find(row), std::string::npos) << html;
  EXPECT_TRUE(html.ends_with(row + kHtmlTail)) << html;
}

TEST_F(ConcordanceWriterTest, HtmlCellsFollowTheContextType) {
  const std::string text = "the cat sat";
  AddText(text, "cat");
  struct Case {
    std::uint8_t type;
    std::int32_t size;
    const char* cells;
  } cases[] = {
      {ctxLines, 1, "<td align= \"left\">the <b class=hilite>cat</b> sat</td>\r\n"},
      {ctxWords, 1,
       "<td align= \"right\">... the </td><td align= \"left\"><b class=hilite>cat</b> sat "
       "...</td>\r\n"},
  };
  for (const Case& c : cases) {
    const std::string html = Write(Options(c.type, c.size, true));
    EXPECT_NE(html.find(c.cells), std::string::npos) << html;
  }
  // With every word suppressed the line has no hit: one centred cell.
  TConcordanceOutputOptions options = Options(ctxWords, 1, true);
  options.SuppressWords = true;
  EXPECT_NE(Write(options).find("<td align= \"center\" colspan=\"2\">...    ...</td>\r\n"),
            std::string::npos);
}

TEST_F(ConcordanceWriterTest, HtmlHeadCarriesCharsetTitleAndFontStyles) {
  ConcordConfig& config = state.ConcordConfig;
  config.NormalFont = TFont{"Arial", 10, 0, 0x000000, 0};
  config.HiliteFont = TFont{"Arial", 12, fsBold | fsUnderline, 0xFF0000, 0};
  config.CollocateFont = TFont{"Arial", 9, fsItalic | fsUnderline | fsStrikeOut, 0x0080FF, 0};
  std::ostringstream out;
  TConcordanceWriter::WriteHtmlHead(out, config, 1252, ctxWords, "a&b");
  EXPECT_EQ(out.str(),
            "<html>\r\n\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; "
            "charset=windows-1252\">\r\n\r\n<title>\r\nSearch Result for 'a&amp;b'\r\n"
            "</title>\r\n\r\n<style>\r\n"
            ".normal {\r\nfont-weight: normal;\r\nfont-style: normal;\r\nfont-size: 10pt;\r\n"
            "color: #000000;\r\n\r\n}\r\n"
            ".hilite {\r\nfont-weight: bold;\r\nfont-style: normal;\r\nfont-size: 12pt;\r\n"
            "color: #0000FF;\r\ntext-decoration: underline ;\r\n}\r\n"
            ".colloc {\r\nfont-weight: normal;\r\nfont-style: italic;\r\nfont-size: 9pt;\r\n"
            "color: #FF8000;\r\ntext-decoration: underline line-through;\r\n}\r\n"
            "</style>\r\n</head>\r\n\r\n<body>\r\n<table bordercolor=\"#000000\" "
            "cellspacing=\"0\" cellpadding=\"1\"\r\nclass=normal padding: 5px;\" "
            "width=\"100%\">\r\n"
            "  <th width=\"7%\" align=\"center\">\r\n    No\r\n  </th>\r\n"
            "  <th align=\"center\" colspan=\"2\">\r\n    Text\r\n  </th>\r\n");

  // A character set of its own code page that the table does not name.
  config.NormalFont.Charset = 77;
  std::ostringstream other;
  TConcordanceWriter::WriteHtmlHead(other, config, 437, ctxSentence, "cat");
  EXPECT_NE(other.str().find("charset=\">"), std::string::npos);
  EXPECT_NE(other.str().find("  <th align=\"left\">\r\n    Text\r\n  </th>\r\n"),
            std::string::npos);
}

TEST(HtmlCharsetNameTest, NamesTheTablesCodePages) {
  EXPECT_EQ(HtmlCharsetName(1252), "windows-1252");
  EXPECT_EQ(HtmlCharsetName(949), "ks_c_5601");
  EXPECT_EQ(HtmlCharsetName(65000), "unicode-1-1-utf-7");
  EXPECT_EQ(HtmlCharsetName(28599), "iso-8859-9");
  EXPECT_EQ(HtmlCharsetName(437), "");
}

TEST_F(ConcordanceWriterTest, InformationLineNamesTextLineAndPage) {
  const std::string text = "the cat sat";
  AddText(text, "cat");
  const std::string name = state.corpus.Texts[0].CorpusFiles;
  struct Case {
    bool files, lines, pages, relative;
    std::int32_t line, page, relativeLine;
    std::string info;
  } cases[] = {
      {true, true, true, false, -1, -1, -1, name + ", N/A, N/A"},
      {true, true, true, true, -1, -1, -1, name + ", N/A, Line N/A"},
      {false, true, true, false, 12, 3, 4, "Line 12, Page 3"},
      {false, true, true, true, 12, 3, 4, "Page 3, Line 4"},
      {false, true, false, true, 12, 3, 4, "Line 12"},  // relative lines need pages
      {false, false, true, false, 12, -1, 4, "N/A"},
  };
  for (const Case& c : cases) {
    TConcordanceOutputOptions options = Options(ctxLines, 1);
    options.ShowFileNames = c.files;
    options.LineNumbers = c.lines;
    options.PageNumbers = c.pages;
    options.RelativeLines = c.relative;
    FakeTags tags;
    tags.line = c.line;
    tags.page = c.page;
    tags.relativeLine = c.relativeLine;
    EXPECT_EQ(Write(options, tags), "\r\n" + c.info + ":\r\n   1. the [[cat]] sat\r\n");
  }
}

TEST_F(ConcordanceWriterTest, TrackedTagsAreListedBeforeTheLine) {
  const std::string text = "the cat sat";
  AddText(text, "cat");
  FakeTags tags;
  tags.names = {"speaker", "act"};
  tags.values = {"<sp>Ann & Bo", std::nullopt};
  TConcordanceOutputOptions options = Options(ctxLines, 1);
  options.TrackedTags = true;
  EXPECT_EQ(Write(options, tags),
            "speaker: <sp>Ann & Bo\r\n"
            "    act: N/A\r\n"
            "   1. the [[cat]] sat\r\n");

  options.Html = true;
  options.LineNumbers = true;
  tags.line = 7;
  const std::string html = Write(options, tags);
  const std::string record =
      "  <tr bgcolor=\"#E7FAFE\">\r\n"
      "\r\n"
      "   <td colspan=\"2\" align=\"left\">\r\n"
      "Line 7:\r\n"
      " <br><b> speaker </b> : &lt;sp>Ann &amp; Bo\r\n"
      " <br><b> act </b> : N/A\r\n"
      "   </td>\r\n"
      "  </tr>\r\n"
      "  <tr bgcolor=\"#E7FAFE\">\r\n"
      "   <td align=\"center\"> \r\n   1. \r\n   </td>";
  EXPECT_NE(html.find(record), std::string::npos) << html;
}

TEST_F(ConcordanceWriterTest, RowsAlternateLabelsConcealingAndLimit) {
  const std::string text = "a cat b cat c cat d cat e cat f cat g cat h";
  AddText(text, "cat");
  for (std::size_t at = text.find("cat", 3); at != std::string::npos; at = text.find("cat", at + 1))
    AddHit(0, text, "cat", at);
  ASSERT_EQ(list.Count(), 7);
  list.Item(0).Letter = 'a';

  TConcordanceOutputOptions options = Options(ctxCharacters, 2);
  options.MaximumLines = 5;
  options.SortLabels = true;
  options.ConcealHits = true;
  EXPECT_EQ(Write(options),
            "   1. a ... a [[___]] b ...\r\n"
            "   2.   ... b [[___]] c ...\r\n"
            "   3.   ... c [[___]] d ...\r\n"
            "   4.   ... d [[___]] e ...\r\n"
            "   5.   ... e [[___]] f ...\r\n");

  options.Html = true;
  const std::string html = Write(options);
  EXPECT_NE(html.find("  <tr bgcolor=\"#E7FAFE\">\r\n   <td align=\"center\"> \r\n   1. a "),
            std::string::npos);
  EXPECT_NE(html.find("  <tr >\r\n   <td align=\"center\"> \r\n   2.   "), std::string::npos);
  EXPECT_EQ(html.find("   6. "), std::string::npos);
}

TEST_F(ConcordanceWriterTest, CancelStopsAtOnceAndKeepsWhatWasWritten) {
  const std::string text = "one cat two cat three";
  AddText(text, "cat");
  AddHit(0, text, "cat", 5);
  host.cancelAfterProcessMessages = host.processMessagesCalls + 2;  // on the second hit
  bool complete = true;
  const std::string html = Write(Options(ctxLines, 1, true), noTags, &complete);
  EXPECT_FALSE(complete);
  EXPECT_NE(html.find("   1. "), std::string::npos);
  EXPECT_EQ(html.find("   2. "), std::string::npos);
  EXPECT_EQ(html.find("</table>"), std::string::npos) << "no tail after Cancel";
}

TEST_F(ConcordanceWriterTest, SaveReplacesTheFileWithTheExport) {
  AddText("the cat sat", "cat");
  const TConcordanceOutputOptions options = Options(ctxWords, 1);
  const std::string path = dir.WriteFile("out.txt", "old content");
  TConcordanceWriter writer(state, list, noTags, options);
  EXPECT_TRUE(writer.Save(path, "cat"));
  EXPECT_EQ(dir.ReadFile("out.txt"), "   1. ... the [[cat]] sat ...\r\n");

  const std::string missing = (dir.path() / "no" / "out.txt").string();
  try {
    writer.Save(missing, "cat");
    ADD_FAILURE() << "a file in a missing folder cannot be written";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), UnableToOpenFileMessage(missing));
  }
}

}  // namespace
}  // namespace korvane
