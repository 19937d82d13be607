// The raw file reader used to look at a file before loading it.
#include "corpus/file_handle.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace korvane {
namespace {

TEST(FileHandle, SizeIsMinusOneUntilAFileIsOpen) {
  test::TempDir dir;
  TFileHandle file;
  EXPECT_EQ(file.Size(), -1);
  char buffer[4];
  EXPECT_EQ(file.ReadAt(0, 4, buffer), -1);
  EXPECT_FALSE(file.Open((dir.path() / "missing.txt").string()));
  EXPECT_FALSE(file.Open(dir.path().string()));  // a folder is no file
  EXPECT_EQ(file.Size(), -1);
}

TEST(FileHandle, PositionFollowsTheBytesActuallyRead) {
  test::TempDir dir;
  TFileHandle file;
  ASSERT_TRUE(file.Open(dir.WriteFile("t.txt", "0123456789")));
  EXPECT_EQ(file.Size(), 10);
  char buffer[16] = {};
  EXPECT_EQ(file.ReadAt(-1, 3, buffer), 3);  // from the start
  EXPECT_EQ(std::string(buffer, 3), "012");
  EXPECT_EQ(file.ReadAt(-1, 2, buffer), 2);  // on from the position
  EXPECT_EQ(std::string(buffer, 2), "34");
  EXPECT_EQ(file.ReadAt(8, 5, buffer), 2);   // a short read near the end
  EXPECT_EQ(file.Position(), 10);
  EXPECT_EQ(file.ReadAt(-1, 5, buffer), 0);
  EXPECT_EQ(file.ReadAt(1, 2, buffer), 2);   // seeks back
  EXPECT_EQ(std::string(buffer, 2), "12");
  file.Close();
  EXPECT_EQ(file.Size(), -1);
  EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace korvane
