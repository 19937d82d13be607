// The main of the desktop program's suite: fixes the ICU locale like every
// suite, makes sure a Qt platform is available without a display (offscreen
// unless one is chosen), and runs the tests inside one QApplication.
#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <QApplication>

int main(int argc, char** argv) {
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("en_US", &status);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
