// The Qt tests run on the offscreen platform with a 1024*768 screen at 96 dpi, so a twip is a
// fifteenth of a pixel as on the reader's usual screen; a 1920*1080 screen stands to its right.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "platform/qt/fonts.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // One file per process: CTest runs the Qt tests side by side, and a file another process is
  // just rewriting reads as junk.
  const QString config = QDir::temp().filePath(
      QStringLiteral("quillon-offscreen-screen-%1.json").arg(QCoreApplication::applicationPid()));
  QFile file(config);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1024,"height":768,)"
               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1},)"
               R"({"name":"W","x":1024,"y":0,"width":1920,"height":1080,)"
               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    file.close();
  }
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  quillon::qt::InstallFaceSubstitutions();
  const int result = RUN_ALL_TESTS();
  QFile::remove(config);
  return result;
}
