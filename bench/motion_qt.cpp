// What a tick of the slide and of auto-scroll costs in the real Qt window, painting included.
// Runs on the display it is given (Xvfb or a desktop), or offscreen without one:
//   motion_qt [BOOK]    (default: the sample book beside the repository)

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench_machine.h"
#include "platform/qt/qt_platform.h"
#include "reader/frmMain.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Figures {
  std::vector<double> logic;
  std::vector<double> frame;
};

// One tick: the window's own work, then everything Qt does before the next tick is due (moving
// and painting the widgets and handing the picture to the display).
void Tick(quillon::ui::Timer& timer, Figures& figures) {
  const Clock::time_point start = Clock::now();
  timer.Tick();
  figures.logic.push_back(Microseconds(start));
  const Clock::time_point paint = Clock::now();
  QApplication::processEvents();
  QApplication::sendPostedEvents();
  QApplication::processEvents();
  figures.frame.push_back(Microseconds(paint));
}

void Print(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-28s median %7.1f us   90%% %7.1f us   max %7.1f us   (%zu ticks)\n", what,
              values[values.size() / 2], values[values.size() * 9 / 10], values.back(),
              values.size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-motion";
  std::filesystem::create_directories(folder);
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    // Without a display: an offscreen screen of the usual size.
    const std::filesystem::path screen = folder / "screen.json";
    std::ofstream(screen) << R"({"screens":[{"name":"S","x":0,"y":0,"width":1024,"height":768,)"
                          << R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen.string()).c_str());
  }
  QApplication application(argc, argv);
  const std::string book =
      argc > 1 ? argv[1] : std::string(QUILLON_BOOKS_DIR) + "/sample-short.gbk.txt";

  quillon::qt::QtPlatform qt;
  // As the reader fills its screen: a larger one gets a layout drawn larger.
  if (qt.FitScreen({})) return 1;
  BenchMachine machine(quillon::codepage::DecodeUtf8(folder.string()));
  quillon::Platform platform{qt.screen, machine, qt.forms, qt.clock, machine, qt.pictures};
  quillon::mPubVariable pub;
  quillon::frmMain reader(platform, pub);
  reader.Show();
  if (!reader.IsLoaded() || reader.PageRows == 0) return 1;  // a screen the reader refuses
  if (!reader.LoadBookText(quillon::codepage::DecodeUtf8(book))) return 1;
  reader.strBookName = u"book.txt";
  reader.WrapRows();
  reader.ShowPage(0);
  reader.MainPage[0].Left = 0;
  reader.Toolbar.Visible = true;
  QApplication::processEvents();

  Figures slide;
  for (int turn = 0; turn < 20; ++turn) {
    reader.cmdNext.Value = true;
    while (reader.tmrPage.Enabled) Tick(reader.tmrPage, slide);
    reader.cmdBack.Value = true;
    while (reader.tmrPage.Enabled) Tick(reader.tmrPage, slide);
  }
  Figures scroll;
  reader.ToggleScrollScreen();
  for (int tick = 0; tick < 1500 && reader.tmrScrollScr.Enabled; ++tick)
    Tick(reader.tmrScrollScr, scroll);
  if (reader.tmrScrollScr.Enabled) reader.ToggleScrollScreen();

  std::printf("on %s\n", qPrintable(QGuiApplication::platformName()));
  Print("slide tick, window's work", slide.logic);
  Print("slide tick, Qt's frame", slide.frame);
  Print("scroll tick, window's work", scroll.logic);
  Print("scroll tick, Qt's frame", scroll.frame);
  return 0;
}
