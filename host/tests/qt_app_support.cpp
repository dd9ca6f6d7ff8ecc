// The host's tests run widgets: one QApplication for the whole test binary, with
// settings and data folders kept away from the user's own (test mode).
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setOrganizationName("slownik-test");
  QApplication::setApplicationName("slownik-host-test");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
