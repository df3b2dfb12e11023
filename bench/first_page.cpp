// How long a user waits for the first page, as whole processes on a real display (Xvfb):
//
//   first_page QUILLON BOOK_100MB BOOK_1MB [ROUNDS [BASELINE]]
//
// Each round runs, one after the other: iconv of the 100 MB book to UTF-16 (into /dev/null);
// `QUILLON BOOK_100MB` until its window's title names the book; `QUILLON` alone until the cover's
// window is up; `QUILLON BOOK_1MB` until its title names it; and the same with BASELINE (another
// build of the reader), if given, the two taking turns at going first. Each is also timed until
// its window is first drawn in (the X server's DAMAGE extension tells), when the page is seen. A
// reader is ended (SIGTERM) once its memory has stopped growing for half a second, and its peak
// (VmHWM) is read first. Prints the medians. bench/first_page.sh sets up the display, a fresh
// installed copy and the books.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "whole_process.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;

pid_t Spawn(std::vector<std::string> arguments, bool quiet) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot run %s\n", argv[0]);
    std::exit(1);
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

// The peak resident memory of a running process, in MiB.
double PeakMegabytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  }
  return 0;
}

// Watches the display for a top-level window whose title holds a text.
class TitleWatch {
 public:
  TitleWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) {
      std::fprintf(stderr, "no display: run it through bench/first_page.sh, or under Xvfb\n");
      std::exit(1);
    }
    int error = 0;
    if (!XDamageQueryExtension(display_, &damageEvent_, &error)) {
      std::fprintf(stderr, "the display has no DAMAGE extension\n");
      std::exit(1);
    }
    netName_ = XInternAtom(display_, "_NET_WM_NAME", False);
    utf8_ = XInternAtom(display_, "UTF8_STRING", False);
    // Windows come and go while they are asked about: an error for one that is gone is no error.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~TitleWatch() { XCloseDisplay(display_); }

  // Waits until a window on screen has a title that holds `wanted`, then until it is first drawn
  // in; the milliseconds from `start` to each, or nothing after `seconds`.
  std::optional<std::pair<double, double>> Wait(Clock::time_point start, const std::string& wanted,
                                                double seconds) {
    // Window numbers come again with the next process: only what this one creates counts.
    std::vector<Window> created, mapped;
    std::vector<std::pair<Window, double>> drawn;
    Window titled = 0;
    double titledAt = 0;
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        Window window = 0;
        if (event.type == damageEvent_ + XDamageNotify) {
          const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
          XDamageSubtract(display_, damage.damage, None, None);
          const bool ours =
              std::find(created.begin(), created.end(), damage.drawable) != created.end();
          if (ours && std::none_of(drawn.begin(), drawn.end(),
                                   [&](const auto& d) { return d.first == damage.drawable; })) {
            drawn.emplace_back(damage.drawable, MillisecondsSince(start));
          }
        } else if (event.type == CreateNotify) {
          window = event.xcreatewindow.window;
          created.push_back(window);
          XSelectInput(display_, window, PropertyChangeMask);
          XDamageCreate(display_, window, XDamageReportNonEmpty);
        } else if (event.type == PropertyNotify) {
          window = event.xproperty.window;
        } else if (event.type == MapNotify) {
          window = event.xmap.window;
          if (std::find(created.begin(), created.end(), window) != created.end()) {
            mapped.push_back(window);
          }
        }
        if (titled == 0 && window != 0 &&
            std::find(mapped.begin(), mapped.end(), window) != mapped.end() &&
            Title(window).find(wanted) != std::string::npos) {
          titled = window;
          titledAt = MillisecondsSince(start);
        }
        if (titled != 0) {
          for (const auto& [window, at] : drawn) {
            if (window == titled) return std::pair{titledAt, std::max(at, titledAt)};
          }
        }
      }
      const double left = seconds * 1000 - MillisecondsSince(start);
      if (left <= 0) return std::nullopt;
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(std::min(left, 50.0)));
    }
  }

 private:
  std::string Title(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display_, window, netName_, 0, 1024, False, utf8_, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
      title.assign(reinterpret_cast<char*>(data), count);
      XFree(data);
    }
    return title;
  }

  Display* display_;
  int damageEvent_ = 0;
  Atom netName_, utf8_;
};

struct Reading {
  double Milliseconds = 0;
  double DrawnMilliseconds = 0;
  double PeakMegabytes = 0;
};

// From exec to a window titled with `wanted`; then, once memory stops growing, the peak.
Reading RunReader(TitleWatch& watch, const std::string& quillon, const std::string& book,
                  const std::string& wanted) {
  const Clock::time_point start = Clock::now();
  const pid_t reader = book.empty() ? Spawn({quillon}, true) : Spawn({quillon, book}, true);
  Reading reading;
  const auto times = watch.Wait(start, wanted, 30);
  if (!times) {
    std::fprintf(stderr, "no window titled %s was drawn\n", wanted.c_str());
    kill(reader, SIGKILL);
    std::exit(1);
  }
  std::tie(reading.Milliseconds, reading.DrawnMilliseconds) = *times;
  // Whatever the reader does after the page (the rest of the book) counts towards its peak.
  double peak = PeakMegabytes(reader);
  for (int still = 0; still < 10;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double now = PeakMegabytes(reader);
    still = now > peak ? 0 : still + 1;
    peak = std::max(peak, now);
  }
  reading.PeakMegabytes = peak;
  kill(reader, SIGTERM);
  int status = 0;
  waitpid(reader, &status, 0);
  return reading;
}

double RunIconv(const std::string& book) {
  const Clock::time_point start = Clock::now();
  const pid_t iconv = Spawn({"iconv", "-f", "GBK", "-t", "UTF-16LE", book}, true);
  int status = 0;
  waitpid(iconv, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "iconv failed on %s\n", book.c_str());
    std::exit(1);
  }
  return MillisecondsSince(start);
}

std::string Stem(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  return name.substr(0, name.find('.'));
}

struct Figures {
  std::vector<double> LargeTimes, LargeDrawn, LargePeaks, CoverTimes, CoverDrawn, CoverPeaks,
      SmallTimes, SmallDrawn;
};

void Print(const char* name, const Figures& f, const std::vector<double>& iconv,
           double fileMegabytes, double smallMegabytes) {
  std::printf("%s\n\n| what | time | against |\n|---|---|---|\n", name);
  std::printf("| %.0f MB book on screen | %.0f ms | iconv %.0f ms: %.2f x |\n", fileMegabytes,
              Median(f.LargeTimes), Median(iconv), Median(f.LargeTimes) / Median(iconv));
  std::printf("| %.1f MB book on screen | %.0f ms | the empty cover %.0f ms: %.2f x |\n",
              smallMegabytes, Median(f.SmallTimes), Median(f.CoverTimes),
              Median(f.SmallTimes) / Median(f.CoverTimes));
  std::printf("| %.0f MB book drawn | %.0f ms | iconv %.0f ms: %.2f x |\n", fileMegabytes,
              Median(f.LargeDrawn), Median(iconv), Median(f.LargeDrawn) / Median(iconv));
  std::printf("| %.1f MB book drawn | %.0f ms | the empty cover drawn %.0f ms: %.2f x |\n",
              smallMegabytes, Median(f.SmallDrawn), Median(f.CoverDrawn),
              Median(f.SmallDrawn) / Median(f.CoverDrawn));
  std::printf("\n| peak memory | MiB | x the file |\n|---|---|---|\n");
  std::printf("| the empty cover | %.0f | |\n", Median(f.CoverPeaks));
  std::printf("| with the %.0f MB book | %.0f | %.2f x (%.2f x beyond the empty cover) |\n\n",
              fileMegabytes, Median(f.LargePeaks), Median(f.LargePeaks) / fileMegabytes,
              (Median(f.LargePeaks) - Median(f.CoverPeaks)) / fileMegabytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: first_page QUILLON BOOK_100MB BOOK_1MB [ROUNDS [BASELINE]]\n");
    return 2;
  }
  const std::string large = argv[2], small = argv[3];
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  // The program measured, and another (an earlier build) run alternately with it.
  std::vector<std::string> programs = {argv[1]};
  if (argc > 5) programs.push_back(argv[5]);
  TitleWatch watch;
  // One untimed run of each first: the system's caches hold the programs and the books.
  RunIconv(large);
  for (const std::string& quillon : programs) {
    RunReader(watch, quillon, large, Stem(large));
    RunReader(watch, quillon, "", "Quillon");
    RunReader(watch, quillon, small, Stem(small));
  }

  std::vector<double> iconv;
  std::vector<Figures> figures(programs.size());
  for (int round = 0; round < rounds; ++round) {
    iconv.push_back(RunIconv(large));
    for (std::size_t p = 0; p < programs.size(); ++p) {
      // The programs take turns at going first.
      const std::string& quillon =
          programs[(p + static_cast<std::size_t>(round)) % programs.size()];
      Figures& f = figures[(p + static_cast<std::size_t>(round)) % programs.size()];
      const Reading largeRun = RunReader(watch, quillon, large, Stem(large));
      f.LargeTimes.push_back(largeRun.Milliseconds);
      f.LargeDrawn.push_back(largeRun.DrawnMilliseconds);
      f.LargePeaks.push_back(largeRun.PeakMegabytes);
      const Reading cover = RunReader(watch, quillon, "", "Quillon");
      f.CoverTimes.push_back(cover.Milliseconds);
      f.CoverDrawn.push_back(cover.DrawnMilliseconds);
      f.CoverPeaks.push_back(cover.PeakMegabytes);
      const Reading smallRun = RunReader(watch, quillon, small, Stem(small));
      f.SmallTimes.push_back(smallRun.Milliseconds);
      f.SmallDrawn.push_back(smallRun.DrawnMilliseconds);
    }
  }
  const double fileMegabytes =
      static_cast<double>(std::filesystem::file_size(large)) / (1024 * 1024);
  const double smallMegabytes =
      static_cast<double>(std::filesystem::file_size(small)) / (1024 * 1024);
  std::printf(
      "medians of %d rounds, each process from exec until its window's title names the book (on\n"
      "screen), and until the window is first drawn in (drawn)\n\n",
      rounds);
  Print(programs.size() > 1 ? "this build" : "", figures[0], iconv, fileMegabytes, smallMegabytes);
  if (programs.size() > 1) {
    Print("the baseline", figures[1], iconv, fileMegabytes, smallMegabytes);
  }
  return 0;
}
