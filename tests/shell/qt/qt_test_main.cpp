#include <gtest/gtest.h>

#include <QApplication>

// GoogleTest with a QApplication for the widgets; CTest names the platform
// (offscreen). Listing the tests needs none.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
