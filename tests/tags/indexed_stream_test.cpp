// The table file of fixed-width records: appending, the two-level lookup
// across blocks, the companion file and its refusal of damaged companions.
#include "tags/indexed_stream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/errors.h"
#include "corpus/corpus.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class IndexedStreamTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

  // A line table of 5,000 records 0, 10, 20, ...: three blocks.
  std::unique_ptr<TIndexedStream> LineTable(const std::string& name) {
    auto table = TIndexedStream::Create(Path(name), 1);
    for (std::int32_t i = 0; i < 5000; ++i) table->AppendValue(i * 10);
    return table;
  }

  void ExpectInvalid(const std::string& path) {
    try {
      TIndexedStream::OpenStored(path, true);
      FAIL() << "accepted a damaged companion";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), "Invalid index file: " + path);
    }
  }
};

TEST_F(IndexedStreamTest, LookupsAnswerFromEveryBlock) {
  auto table = LineTable("LNT1.tmp");
  EXPECT_EQ(table->RecordCount(), 5000);
  EXPECT_EQ(table->IndexCount(), 3);
  EXPECT_EQ(table->BlockIndex().size(), 8192u);
  struct Case { std::int32_t position; std::int32_t record; };
  for (const Case& c : {Case{-1, -1}, Case{0, 0}, Case{9, 0}, Case{20479, 2047}, Case{20480, 2048},
                        Case{25000, 2500}, Case{40969, 4096}, Case{1'000'000, 4999}}) {
    EXPECT_EQ(table->FindLast(c.position), c.record) << c.position;
  }
  EXPECT_EQ(table->ValueAt(2500, 0), 25000);
  EXPECT_EQ(TIndexedStream::Create(Path("empty.tmp"), 1)->FindLast(5), -1);
}

TEST_F(IndexedStreamTest, WideTableSearchesOneColumn) {
  auto table = TIndexedStream::Create(Path("WTT1.tmp"), 3);
  EXPECT_EQ(table->RecordsPerBlock(), 682);
  for (std::int32_t i = 0; i < 1500; ++i) {
    const std::int32_t row[3] = {i * 2, i < 700 ? -1 : i, 7};
    table->AppendRecord(row);
  }
  EXPECT_EQ(table->IndexCount(), 3);
  EXPECT_EQ(table->BlockIndex().size(), 682u * 3);
  EXPECT_EQ(table->FindLastInColumn(1001, 0), 500);
  EXPECT_EQ(table->FindLastInColumn(-1, 1), 699);
  EXPECT_EQ(table->FindLastInColumn(1000, 1), 1000);
  EXPECT_EQ(table->FindLastInColumn(6, 2), -1);
  EXPECT_EQ(table->ValueAt(1000, 1), 1000);
}

TEST_F(IndexedStreamTest, SavedTableOpensWithTheSameAnswers) {
  auto table = LineTable("LNT2.tmp");
  const std::string saved = Path("saved.dat");
  table->SaveAs(saved);
  const std::string companion = dir.ReadFile("savedH.tmp");
  ASSERT_EQ(companion.size(), 32u + 4 * 8192);
  EXPECT_EQ(companion.substr(0, 4), "IDXS");

  auto opened = TIndexedStream::OpenStored(saved, true);
  EXPECT_TRUE(opened->Stored);
  EXPECT_EQ(opened->RecordCount(), 5000);
  EXPECT_EQ(opened->BlockIndex(), table->BlockIndex());
  EXPECT_EQ(opened->FindLast(40969), 4096);
}

TEST_F(IndexedStreamTest, DamagedCompanionsAreRefused) {
  const std::string saved = Path("t.dat");
  LineTable("LNT3.tmp")->SaveAs(saved);
  const std::string good = dir.ReadFile("tH.tmp");
  auto patched = [&](std::size_t offset, std::int32_t value) {
    std::string bytes = good;
    std::memcpy(bytes.data() + offset, &value, 4);
    return bytes;
  };
  const std::size_t tail = 12 + 4 * 8192;
  for (const std::string& bytes : {patched(4, 2),                 // version 2
                                   std::string("IDXT") + good.substr(4),
                                   good.substr(0, 10),            // cut short
                                   patched(8, 1'000'000),         // N beyond the file
                                   patched(tail, 6000),           // more records than the data file
                                   patched(tail + 4, 0),          // width 0
                                   patched(tail + 8, 2)}) {       // block count disagrees
    dir.WriteFile("tH.tmp", bytes);
    ExpectInvalid(saved);
  }
  std::filesystem::remove(CompanionFileName(saved));
  ExpectInvalid(saved);
}

}  // namespace
}  // namespace korvane
