// The concordance line builder: context types, the window around the hit,
// masks, line breaks, the shortened long hit and collocate segments.
#include "search/line_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/buf_stream.h"
#include "corpus/corpus_loader.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class LineBuilderTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  int texts = 0;

  // Loads text as a new corpus text and returns its reader.
  TBufStream& Load(const std::string& text) {
    const std::string path = dir.WriteFile("t" + std::to_string(texts++) + ".txt", text);
    LoadTexts(state, {path});
    EXPECT_EQ(state.corpus.Count(), texts) << "the fixture text did not load";
    return *state.corpus.Texts.back().CorpusReaders;
  }

  // A hit on the occurrence of hitText at or after from.
  static TConcordItem HitOn(const std::string& text, const std::string& hitText,
                            std::size_t from = 0) {
    TConcordItem hit;
    const std::size_t at = text.find(hitText, from);
    EXPECT_NE(at, std::string::npos) << hitText;
    hit.HitStart = static_cast<std::int32_t>(at);
    hit.HitEnd = static_cast<std::int32_t>(at + hitText.size());
    hit.Words[pcSearchTerm] = hitText;
    return hit;
  }

  TConcordLine Build(const std::string& text, const TConcordItem& hit,
                     const TLineSettings& settings) {
    TBufStream& reader = Load(text);
    reader.ApplySettings(state.ConcordConfig);
    reader.ClearTagState();
    return BuildConcordLine(reader, hit, settings, LineFontsOf(state.ConcordConfig),
                            state.Sentences, state.Language);
  }

  static TLineSettings Context(std::uint8_t type, std::int32_t size) {
    TLineSettings settings;
    settings.ContextType = type;
    settings.ContextSize = size;
    return settings;
  }

  // The text of the hit segment, checking that there is exactly one.
  static std::string HitSegmentText(const TConcordLine& line) {
    std::string text;
    int hits = 0;
    for (const TSVFormatInfo& segment : line.Format)
      if (segment.Hit) {
        ++hits;
        text = line.Text.substr(static_cast<std::size_t>(segment.Start - 1),
                                static_cast<std::size_t>(segment.Length));
      }
    EXPECT_EQ(hits, 1) << line.Text;
    return text;
  }
};

TEST_F(LineBuilderTest, ContextTypesCutTheLineAroundTheHit) {
  struct Case {
    const char* what;
    std::string text;
    std::string hit;
    std::uint8_t type;
    std::int32_t size;
    std::string line;
  } cases[] = {
      {"characters on both sides", "the quick brown fox jumps", "brown", ctxCharacters, 4,
       "... ick brown fox ..."},
      {"characters stop at the text's ends", "a cat b", "cat", ctxCharacters, 40,
       "... a cat b ..."},
      {"one word each side of a text that is just three words", "the cat sat", "cat",
       ctxWords, 1, "... the cat sat ..."},
      {"words keep the character that ends the last word", "a b c d e f g", "d", ctxWords, 2,
       "... b c d e f  ..."},
      {"one line: the hit's own line, CR LF", "first line\r\nsecond hit line\r\nthird", "hit",
       ctxLines, 1, "second hit line "},
      {"one line: the hit's own line, LF", "first line\nsecond hit line\nthird", "hit",
       ctxLines, 1, "second hit line "},
      {"two lines reach the text start", "first line\r\nsecond hit line\r\nthird\r\nfourth",
       "hit", ctxLines, 2, "first line second hit line third "},
      {"sentence between full stops", "It rained. Then the hit came. Later more.", "hit",
       ctxSentence, 1, "Then the hit came."},
      {"sentence from the text start", "The hit came! Later more.", "hit", ctxSentence, 1,
       "The hit came!"},
      {"sentence without an end runs to the window's end", "It rained. The hit came", "hit",
       ctxSentence, 1, "The hit came"},
  };
  for (const Case& c : cases) {
    const TConcordLine line = Build(c.text, HitOn(c.text, c.hit), Context(c.type, c.size));
    EXPECT_EQ(line.Text, c.line) << c.what;
    EXPECT_EQ(HitSegmentText(line), c.hit) << c.what;
  }
}

TEST_F(LineBuilderTest, SizeZeroShowsTheHitAloneWithoutEllipses) {
  const std::string text = "one two three four";
  for (std::uint8_t type : {ctxCharacters, ctxWords, ctxLines}) {
    const TConcordLine line = Build(text, HitOn(text, "three"), Context(type, 0));
    EXPECT_EQ(line.Text, "three") << int(type);
    ASSERT_EQ(line.Format.size(), 1u);
    EXPECT_EQ(line.Format[0].Start, 1);
    EXPECT_EQ(line.Format[0].Length, 5);
  }
}

TEST_F(LineBuilderTest, HitSegmentCarriesHighlightFontAndCentresForCharactersAndWords) {
  state.ConcordConfig.HiliteFont = TFont{"Serif", 12, fsBold, clBlue, 0};
  const std::string text = "the cat sat";
  for (std::uint8_t type : {ctxCharacters, ctxWords, ctxLines, ctxSentence}) {
    const TConcordLine line = Build(text, HitOn(text, "cat"), Context(type, 1));
    ASSERT_EQ(line.Format.size(), 1u) << int(type);
    const TSVFormatInfo& hit = line.Format[0];
    EXPECT_EQ(hit.Hit, 1);
    EXPECT_EQ(hit.Centring, type <= ctxWords ? 1 : 0) << int(type);
    EXPECT_EQ(hit.Font, (TSVFontInfo{"Serif", fsBold, clBlue, 12}));
  }
}

TEST_F(LineBuilderTest, SentenceContextFollowsTheAbbreviationRule) {
  const std::string text = "It rained. Dr. Smith saw the hit of Mr. Jones. Then he left.";
  struct Case {
    bool smart;
    std::string line;
  } cases[] = {
      {true, "Dr. Smith saw the hit of Mr. Jones."},
      {false, "Smith saw the hit of Mr."},
  };
  for (const Case& c : cases) {
    state.Sentences.SmartAbbrDetect = c.smart;
    const TConcordLine line = Build(text, HitOn(text, "hit"), Context(ctxSentence, 1));
    EXPECT_EQ(line.Text, c.line) << "smart " << c.smart;
  }
}

TEST_F(LineBuilderTest, SentenceEndPassedAsAbbreviationStillEndsTheLine) {
  // No delimiter follows the abbreviation: the line ends behind it.
  state.Sentences.SmartAbbrDetect = true;
  const std::string text = "It ended. The hit of Dr. Smith and more";
  const TConcordLine line = Build(text, HitOn(text, "hit"), Context(ctxSentence, 1));
  EXPECT_EQ(line.Text, "The hit of Dr.");
}

TEST_F(LineBuilderTest, LineBreaksBecomeSingleSpaces) {
  struct Case {
    const char* what;
    std::string text;
    std::string line;
  } cases[] = {
      {"CR LF", "a\r\nhit\r\nb", "... a hit b ..."},
      {"blank lines collapse", "a\r\n\r\n\r\nhit\n\nb", "... a hit b ..."},
      {"a line feed at the start is dropped", "\nhit b", "... hit b ..."},
      {"a carriage return at the start stays", "\rhit b", "...  hit b ..."},
  };
  for (const Case& c : cases) {
    const TConcordLine line = Build(c.text, HitOn(c.text, "hit"), Context(ctxCharacters, 40));
    EXPECT_EQ(line.Text, c.line) << c.what;
    EXPECT_EQ(HitSegmentText(line), "hit") << c.what;
  }
}

TEST_F(LineBuilderTest, MaskLeavesOutSuppressedClasses) {
  state.ConcordConfig.WordTag = 1;
  state.ConcordConfig.wTagDelimiter = '_';
  const std::string text = "<p>the big_JJ <b>cat</b> sat</p>";
  struct Case {
    const char* what;
    TCharTypeMask mask;
    std::string line;
    std::string hit;
  } cases[] = {
      {"everything", DisplayMask(false, false, false), "... <p>the big_JJ <b>cat</b> sat</p> ...",
       "cat"},
      {"no tags", DisplayMask(true, false, false), "... the big_JJ cat sat ...", "cat"},
      {"no part-of-speech tags", DisplayMask(false, true, false),
       "... <p>the big <b>cat</b> sat</p> ...", "cat"},
      {"no words: tags, spaces and line breaks", DisplayMask(false, false, true),
       "... <p> _JJ <b></b> </p> ...", ""},
  };
  for (const Case& c : cases) {
    TLineSettings settings = Context(ctxCharacters, 100);
    settings.Mask = c.mask;
    const TConcordLine line = Build(text, HitOn(text, "cat"), settings);
    EXPECT_EQ(line.Text, c.line) << c.what;
    if (c.hit.empty())
      EXPECT_TRUE(line.Format.empty()) << c.what << ": a hit that does not show has no segment";
    else
      EXPECT_EQ(HitSegmentText(line), c.hit) << c.what;
  }
}

TEST_F(LineBuilderTest, LongHitIsShortenedAndLaterSegmentsMoveLeft) {
  // Hits of 100, 1,000 (the window loses the middle) and 9,000 characters
  // (two type maps), with a ranked collocate after the hit.
  for (std::size_t length : {100u, 1000u, 9000u}) {
    std::string hitText;
    for (std::size_t i = 0; i < length; ++i) hitText += static_cast<char>('a' + i % 26);
    const std::string text = "left " + hitText + " right more";
    TConcordItem hit = HitOn(text, hitText);
    hit.Words[pc1R] = "right";
    hit.WordStart[pc1R] = static_cast<std::int32_t>(text.find("right"));
    hit.WordEnd[pc1R] = hit.WordStart[pc1R] + 5;
    hit.CollocateRanks[pc1R] = 0;
    TLineSettings settings = Context(ctxCharacters, 5);
    settings.CollocFirst = pc4L;
    settings.CollocLast = pc4R;
    settings.RankCount = 1;
    settings.CollocColor = clRed;

    const TConcordLine line = Build(text, hit, settings);
    const std::string shown = hitText.substr(0, 27) + " ... " + hitText.substr(length - 28);
    EXPECT_EQ(line.Text, "... left " + shown + " righ ...") << length;
    ASSERT_EQ(line.Format.size(), 2u) << length;
    EXPECT_EQ(line.Format[0].Hit, 1);
    EXPECT_EQ(line.Format[0].Start, 10);
    EXPECT_EQ(line.Format[0].Length, 60);
    EXPECT_EQ(line.Format[1].Hit, 0);
    EXPECT_EQ(line.Text.substr(static_cast<std::size_t>(line.Format[1].Start - 1),
                               static_cast<std::size_t>(line.Format[1].Length)),
              "righ")
        << length;
    EXPECT_EQ(line.Format[1].Font.Color, clRed);
  }
}

TEST_F(LineBuilderTest, LineWhoseHitDoesNotShowIsNotShortened) {
  // With words suppressed the hit is hidden; the tags around it are shown in
  // full instead of being cut as if they were a long hit.
  const std::string open = "<section title=the-first-chapter-of-the-book>";
  const std::string close = "</section><!-- end of the first chapter -->";
  const std::string text = open + "cat" + close;
  TLineSettings settings = Context(ctxCharacters, 100);
  settings.Mask = DisplayMask(false, false, true);
  const TConcordLine line = Build(text, HitOn(text, "cat"), settings);
  EXPECT_EQ(line.Text, "... " + open + close + " ...");
  EXPECT_TRUE(line.Format.empty());
}

TEST_F(LineBuilderTest, HitOfSixtyCharactersIsShownWhole) {
  const std::string hitText(60, 'x');
  const std::string text = "a " + hitText + " b";
  const TConcordLine line = Build(text, HitOn(text, hitText), Context(ctxCharacters, 2));
  EXPECT_EQ(line.Text, "... a " + hitText + " b ...");
  EXPECT_EQ(HitSegmentText(line), hitText);
}

TEST_F(LineBuilderTest, ContextStaysInsideTheWindowAroundTheHit) {
  // Words of 19 letters: 40 words to the left would need 800 characters.
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(19, static_cast<char>('a' + i % 26)) + " ";
  const std::size_t hitAt = 100 * 20;
  TConcordItem hit;
  hit.HitStart = static_cast<std::int32_t>(hitAt);
  hit.HitEnd = static_cast<std::int32_t>(hitAt + 19);

  // Words: the left context stops at the window start (hit - 512) plus 64,
  // then steps forward one character.
  const TConcordLine words = Build(text, hit, Context(ctxWords, 40));
  const std::size_t wordsStart = hitAt - 512 + 64 + 1;
  EXPECT_EQ(words.Text.substr(4, 30), text.substr(wordsStart, 30));
  // Characters: a context wider than the window is cut at the window.
  const TConcordLine chars = Build(text, hit, Context(ctxCharacters, 1000));
  EXPECT_EQ(chars.Text, "... " + text.substr(hitAt - 512, 512 + 19 + 512) + " ...");

  TBufStream& reader = *state.corpus.Texts.back().CorpusReaders;
  EXPECT_EQ(reader.RangeStart(), 0) << "the reader is left on its whole text";
  EXPECT_EQ(reader.RangeEnd(), static_cast<std::int32_t>(text.size()));
  EXPECT_FALSE(reader.HasTypeMap());
}

TEST_F(LineBuilderTest, CollocatesInRangeWithARankAreHighlighted) {
  const std::string text = "big red cat sat down";
  TConcordItem hit = HitOn(text, "cat");
  const struct {
    std::uint8_t slot;
    const char* word;
    std::uint8_t rank;
  } words[] = {{pc2L, "big", 1}, {pc1L, "red", 255}, {pc1R, "sat", 0}, {pc2R, "down", 0}};
  for (const auto& w : words) {
    hit.Words[w.slot] = w.word;
    hit.WordStart[w.slot] = static_cast<std::int32_t>(text.find(w.word));
    hit.WordEnd[w.slot] = hit.WordStart[w.slot] + static_cast<std::int32_t>(strlen(w.word));
    hit.CollocateRanks[w.slot] = w.rank;
  }
  state.ConcordConfig.CollocateFont = TFont{"Mono", 9, fsItalic, clRed, 0};
  TLineSettings settings = Context(ctxCharacters, 40);
  settings.CollocFirst = pc2L;
  settings.CollocLast = pc1R;  // "down" (2R) is out of range
  settings.RankCount = 4;
  settings.CollocColor = 0x0000FF;

  const TConcordLine line = Build(text, hit, settings);
  ASSERT_EQ(line.Text, "... big red cat sat down ...");
  std::vector<std::string> segments;
  for (const TSVFormatInfo& s : line.Format)
    segments.push_back(line.Text.substr(static_cast<std::size_t>(s.Start - 1),
                                        static_cast<std::size_t>(s.Length)));
  // "red" has no rank, "down" lies outside the slot range.
  EXPECT_EQ(segments, (std::vector<std::string>{"big", "cat", "sat"}));
  EXPECT_EQ(line.Format[0].Font, (TSVFontInfo{"Mono", fsItalic, 0x0000C5, 9}));
  EXPECT_EQ(line.Format[2].Font.Color, 0x0000FF);

  settings.CollocFirst = kNoCollocates;
  const TConcordLine plain = Build(text, hit, settings);
  ASSERT_EQ(plain.Format.size(), 1u) << "slot 10 turns highlighting off";
}

TEST(CollocateRankColorTest, ShadesEachChannelWithHalvesToEven) {
  struct Case {
    std::int32_t base;
    int rank;
    int count;
    std::int32_t color;
  } cases[] = {
      {0x0000FF, 0, 4, 0x0000FF},  // rank 0: the base colour
      {0x0000FF, 1, 4, 0x0000C5},  // 255 - 57.5 -> 255 - 58 (58 is even)
      {0x0000FF, 3, 4, 0x000053},  // 255 - 172.5 -> 255 - 172
      {0x0000FF, 4, 4, 0x000019},  // rank N: a tenth (255 div 10 = 25)
      {0x6432C8, 1, 3, 0x46238C},  // channels 200, 50, 100 each on their own
      {0x0000FF, 2, 0, 0x0000FF},  // no ranks counted: the base colour
  };
  for (const Case& c : cases)
    EXPECT_EQ(CollocateRankColor(c.base, c.rank, c.count), c.color)
        << std::hex << c.base << " rank " << c.rank << " of " << c.count;
}

TEST(DisplayMaskTest, SuppressFlagsRemoveTheirClasses) {
  const TCharTypeMask all = DisplayMask(false, false, false);
  for (TCharType t : {ctDelimiter, ctWhiteSpace, ctNewLine, ctWord, ctTag, ctWordTag})
    EXPECT_TRUE(MaskShows(all, t)) << int(t);
  EXPECT_FALSE(MaskShows(all, ctNone));
  const TCharTypeMask noWords = DisplayMask(false, false, true);
  EXPECT_FALSE(MaskShows(noWords, ctWord));
  EXPECT_FALSE(MaskShows(noWords, ctDelimiter));
  EXPECT_TRUE(MaskShows(noWords, ctWhiteSpace));
  EXPECT_FALSE(MaskShows(DisplayMask(true, false, false), ctTag));
  EXPECT_FALSE(MaskShows(DisplayMask(false, true, false), ctWordTag));
}

}  // namespace
}  // namespace korvane
