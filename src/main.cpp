// Starts Qt, the platform services and the reader window, with the book and the screen size the
// command line names.

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "platform/qt/command_line.h"
#include "platform/qt/convert.h"
#include "platform/qt/qt_platform.h"
#include "reader/frmMain.h"
#include "settings/pub_variables.h"

namespace {

void Print(const QString& text, bool error) {
  std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
}

// A termination signal only writes a byte here; the event loop reads it and closes the window as
// its close button would, so the book in view is remembered.
int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The windows decide when the program ends: unloading the last one ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  const quillon::qt::CommandLine line = quillon::qt::ParseCommandLine(
      std::vector<std::string>(argv, argv + argc), QStringLiteral(QUILLON_VERSION));
  if (line.Exit) {
    Print(line.Output, line.ExitCode != 0);
    return line.ExitCode;
  }

  quillon::qt::QtPlatform platform;
  if (line.ScreenWidth > 0) {
    if (line.ScreenWidth > platform.screen.PixelWidth() ||
        line.ScreenHeight > platform.screen.PixelHeight()) {
      const QString message = QStringLiteral("屏幕是 %1x%2，放不下 --screen 要求的 %3x%4。")
                                  .arg(platform.screen.PixelWidth())
                                  .arg(platform.screen.PixelHeight())
                                  .arg(line.ScreenWidth)
                                  .arg(line.ScreenHeight);
      Print(QStringLiteral("quillon: ") + message + '\n', true);
      platform.dialogs.MessageBox(quillon::qt::FromQString(message), u"Quillon",
                                  quillon::MessageIcon::Information);
      return 2;
    }
    platform.screen.UseArea(line.ScreenWidth, line.ScreenHeight);
  }
  platform.program.MakeWritableFolder();

  quillon::mPubVariable pub;
  quillon::frmMain reader(platform.platform, pub);
  reader.Show();
  if (platform.program.Ended() || !reader.IsLoaded()) return 0;

  std::unique_ptr<QSocketNotifier> signalNotifier;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
    signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, [&reader] {
      char byte = 0;
      [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
      if (reader.IsLoaded()) reader.CloseFromFrame();
    });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, OnTerminationSignal);
  }
  // The desktop session ending may not give the window time to close itself.
  QObject::connect(&application, &QGuiApplication::commitDataRequest,
                   [&reader](QSessionManager&) { reader.SaveBookInView(); });
  if (line.Book) {
    if (!quillon::files::FileExists(*line.Book)) {
      Print(QStringLiteral("quillon: 找不到这本书：") + quillon::qt::ToQString(*line.Book) + '\n',
            true);
    }
    // A book that cannot be read is told in a message, and the cover stays.
    reader.OpenBook(*line.Book);
  }
  return QApplication::exec();
}
