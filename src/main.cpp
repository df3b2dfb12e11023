// Starts Qt, the platform services and the reader window.

#include <QApplication>

#include "platform/qt/qt_platform.h"
#include "reader/frmMain.h"
#include "settings/pub_variables.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The windows decide when the program ends: unloading the last one ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  quillon::qt::QtPlatform platform;
  quillon::mPubVariable pub;
  quillon::frmMain reader(platform.platform, pub);
  reader.Show();
  if (platform.program.Ended() || !reader.IsLoaded()) return 0;
  return QApplication::exec();
}
