// The Qt layer builds and runs: an application and a window, offscreen.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

TEST(QtLayer, OpensAndClosesAWindowOffscreen) {
  QWidget window;
  window.resize(320, 200);
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(window.isVisible());
  window.close();
  QApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
