// The customised key text in both modes, with its error messages and caret
// positions, and the stored forms of sort keys in "AdvancedSort".
#include "results/custom_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/scripted_host.h"
#include "results/advanced_sort_settings.h"
#include "results/concord_item.h"

namespace korvane {
namespace {

using List = TAdvancedSortColList;

TEST(ParseCustomText, ReadsItemsRangesAndReverseMarks) {
  struct Case {
    const char* text;
    TCustomTextMode mode;
    List expected;
  };
  const Case cases[] = {
      {"1r, 0r", TCustomTextMode::Sort, {{pc1R, false}, {pcSearchTerm, true}}},
      {"2l-2r", TCustomTextMode::Sort,
       {{pc2L, false}, {pc1L, false}, {pcSearchTerm, false}, {pc1R, false}, {pc2R, false}}},
      {"1lr-1r", TCustomTextMode::Sort, {{pc1L, true}, {pcSearchTerm, true}, {pc1R, true}}},
      {"2R - 4L", TCustomTextMode::Sort,
       {{pc2R, false}, {pc1R, false}, {pcSearchTerm, false}, {pc1L, false}, {pc2L, false},
        {pc3L, false}, {pc4L, false}}},
      {" DEF , Tag,orig ,4rr", TCustomTextMode::Sort,
       {{pcDefined, false}, {pcTrackedTag, false}, {pcOriginalOrder, false}, {pc4R, true}}},
      {"1l-1l, 0", TCustomTextMode::Sort, {{pc1L, false}, {pcSearchTerm, false}}},
      {"4l-1l,1r", TCustomTextMode::Collocation,
       {{pc4L, false}, {pc3L, false}, {pc2L, false}, {pc1L, false}, {pc1R, false}}},
  };
  for (const Case& c : cases) {
    List list;
    int position = -1;
    EXPECT_TRUE(ParseCustomText(c.text, c.mode, nullptr, position, list)) << c.text;
    EXPECT_EQ(list, c.expected) << c.text;
  }
}

TEST(ParseCustomText, ReportsTheFirstErrorWithItsCaretPosition) {
  struct Case {
    const char* text;
    TCustomTextMode mode;
    const char* message;
    int position;
  };
  const Case cases[] = {
      {"1l, 1l", TCustomTextMode::Sort, "Duplicated Item in Customised Sort.", 3},
      {"xyz", TCustomTextMode::Sort, "Unknown item in Customised Sort.", 0},
      {"1r,  xyz", TCustomTextMode::Sort, "Unknown item in Customised Sort.", 5},
      {"1l, 1r,", TCustomTextMode::Sort, "Unknown item in Customised Sort.", 7},
      {"1l,,1r", TCustomTextMode::Sort, "Unknown item in Customised Sort.", 3},
      {"0, 1l-2r", TCustomTextMode::Sort, "Duplicated Item in Customised Sort.", 6},
      {"1lr", TCustomTextMode::Collocation, "Unknown item in Customised Collocation.", 0},
      {"def", TCustomTextMode::Collocation, "Unknown item in Customised Collocation.", 0},
      {"1r, 1l", TCustomTextMode::Collocation, "Invalid order in Customised Collocation.", 3},
      {"2r-1l", TCustomTextMode::Collocation, "Invalid order in Customised Collocation.", 3},
      {"1r,1r", TCustomTextMode::Collocation, "Duplicated Item in Customised Collocation.", 3},
  };
  for (const Case& c : cases) {
    ScriptedHost host;
    List list;
    int position = -1;
    EXPECT_FALSE(ParseCustomText(c.text, c.mode, &host, position, list)) << c.text;
    EXPECT_EQ(position, c.position) << c.text;
    EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtError), std::vector<std::string>{c.message})
        << c.text;
  }
}

TEST(ParseCustomText, EmptyTextFailsWithoutMessageAndSilentModeShowsNothing) {
  ScriptedHost host;
  List list = {{pc1R, false}};
  int position = -1;
  EXPECT_FALSE(ParseCustomText("   ", TCustomTextMode::Sort, &host, position, list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ParseCustomText("bad", TCustomTextMode::Sort, nullptr, position, list));
  EXPECT_TRUE(host.messages.empty());
}

TEST(AdvancedSortSettings, ReadsCaptionsAndOlderIntegers) {
  struct Case {
    const char* stored;
    std::uint8_t code;
  };
  const Case cases[] = {
      {"0", pc3L},          {"3", pcSearchTerm},     {"6", pc3R},
      {"7", pcDefined},     {"8", pcOriginalOrder},  {"9", pcUnsorted},
      {"10", pcUnsorted},   {"-1", pcUnsorted},      {"abc", pcUnsorted},
      {"4L", pc4L},         {"Search term", pcSearchTerm}, {"Tracked tag", pcTrackedTag},
      {"search term", pcUnsorted},  // captions are case-sensitive
  };
  for (const Case& c : cases) EXPECT_EQ(ReadAdvancedSortKey(c.stored), c.code) << c.stored;
}

TEST(AdvancedSortSettings, RoundTripsTheSection) {
  IniFile ini("unused.ini");
  TAdvancedSortColOptions written;
  written.FirstKey = pc4L;
  written.FirstReverse = true;
  written.SecondKey = pcTrackedTag;
  written.ThirdKey = pcOriginalOrder;
  written.CustomText = "1r, 0";
  written.TagName = "speaker";
  WriteAdvancedSort(ini, written, true);
  EXPECT_EQ(ini.ReadString("AdvancedSort", "First", ""), "4L");
  EXPECT_EQ(ini.ReadString("AdvancedSort", "Third", ""), "Original order");

  TAdvancedSortColOptions read;
  bool custom = false;
  ReadAdvancedSort(ini, read, custom);
  EXPECT_TRUE(custom);
  EXPECT_EQ(read.FirstKey, pc4L);
  EXPECT_TRUE(read.FirstReverse);
  EXPECT_EQ(read.SecondKey, pcTrackedTag);
  EXPECT_EQ(read.ThirdKey, pcOriginalOrder);
  EXPECT_EQ(read.CustomText, "1r, 0");
  EXPECT_EQ(read.TagName, "speaker");

  IniFile empty("unused.ini");
  ReadAdvancedSort(empty, read, custom);
  EXPECT_EQ(read.FirstKey, pcUnsorted);
  EXPECT_FALSE(read.FirstReverse);
  EXPECT_FALSE(custom);
  EXPECT_EQ(read.TagName, "");
}

}  // namespace
}  // namespace korvane
