// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the desktop test suites: one QApplication on the offscreen
// platform (unless QT_QPA_PLATFORM names another), in the Inter face so that
// measured text does not change with the machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Nothing under test reaches the user's session bus, whose portal would
  // ask the user about a shortcut.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/whirlpane-tests");
  QApplication application(argc, argv);
  const QFont inter("Inter");
  if (QFontInfo(inter).family() != "Inter") {
    std::fprintf(stderr, "The Inter face is missing (Debian package fonts-inter).\n");
    return 1;
  }
  QApplication::setFont(inter);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
