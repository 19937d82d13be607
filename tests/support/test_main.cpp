// The main of every test program: fixes the ICU default locale to en_US so
// that thousands separators and collation do not depend on the machine.
#include <gtest/gtest.h>
#include <unicode/uloc.h>

int main(int argc, char** argv) {
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("en_US", &status);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
