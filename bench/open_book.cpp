// How fast a large book opens, re-wraps and draws a page, and how much memory it takes.
//
//   open_book            generates realistic GBK books of 20 MB and 100 MB in the temporary
//                        folder and prints, for each, the medians of alternating runs against
//                        `iconv -f GBK -t UTF-16LE FILE > /dev/null` as a process
//   open_book FILE       opens that one book once and prints its figures, so the open can also be
//                        timed as a whole process

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_machine.h"
#include "book/book_rows.h"
#include "platform/codepage.h"
#include "reader/frmMain.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using quillon::BookText;
using quillon::RowTable;
using quillon::WrapMetrics;

const WrapMetrics kFullScreen{72, 25, 4};  // 10.5 points at 1024*768 in the full-screen layout

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Chinese prose as novels on the web have it: GB2312 characters with a few GBK-only ones,
// full-width punctuation, paragraphs of 20 to 600 characters indented by spaces, now and then an
// ASCII comma or a blank line, CR LF line ends.
void WriteBook(const std::string& path, std::size_t bytes) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> lead(0xB0, 0xD7);
  std::uniform_int_distribution<int> trail(0xA1, 0xF9);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> paragraph(20, 600);
  std::uniform_int_distribution<int> clause(4, 16);
  const char* const punctuation[] = {"\xA3\xAC", "\xA1\xA3", "\xA3\xBA", "\xA1\xB0", "\xA1\xB1",
                                     "\xA3\xA1", "\xA3\xBF", "\xA1\xA2", "\xA3\xBB"};
  std::string text;
  text.reserve(bytes + 4096);
  while (text.size() < bytes) {
    if (percent(random) < 5) {
      text += "\r\n";
      continue;
    }
    text += percent(random) < 70 ? "    " : "\xA1\xA1\xA1\xA1";
    const int length = paragraph(random);
    int untilPunctuation = clause(random);
    for (int i = 0; i < length; ++i) {
      if (--untilPunctuation == 0) {
        text += percent(random) < 2 ? "," : punctuation[random() % 9];
        untilPunctuation = clause(random);
      } else if (percent(random) == 0) {
        text += static_cast<char>(0x81 + random() % 0x20);  // a GBK-only character
        text += static_cast<char>(0x40 + random() % 0x3F);
      } else {
        text += static_cast<char>(lead(random));
        text += static_cast<char>(trail(random));
      }
    }
    text += "\r\n";
  }
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

double IconvMilliseconds(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::string from = "GBK", to = "UTF-16LE", name = "iconv", f = "-f", t = "-t", file = path;
  char* argv[] = {name.data(), f.data(), from.data(), t.data(), to.data(), file.data(), nullptr};
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, "iconv", &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot run iconv\n");
    std::exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  const double elapsed = MillisecondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return elapsed;
}

// A reader window at 1024*768 with the default settings: 25 rows of 41 characters.
struct Reader {
  explicit Reader(const std::filesystem::path& folder)
      : machine(ProgramFolder(folder)), window(machine.platform, pub) {
    window.Show();
  }
  static std::u16string ProgramFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    return quillon::codepage::DecodeUtf8(folder.string());
  }
  BenchMachine machine;
  quillon::mPubVariable pub;
  quillon::frmMain window;
};

void Open(Reader& reader, const std::string& path) {
  if (!reader.window.LoadBookText(quillon::codepage::DecodeUtf8(path))) std::exit(1);
  reader.window.WrapRows();
}

// The time to draw one page's rows, in microseconds: the median over pages spread through the
// book, and the slowest of them. Each page is timed a few times and its best time kept, so a
// page is not blamed for the scheduler taking the core away.
std::pair<double, double> PageMicroseconds(Reader& reader) {
  quillon::frmMain& window = reader.window;
  std::vector<double> times;
  for (int sample = 0; sample < 2000; ++sample) {
    const auto page =
        static_cast<std::int32_t>(static_cast<std::int64_t>(window.PageCount) * sample / 2000);
    double best = 1e9;
    for (int attempt = 0; attempt < 5; ++attempt) {
      // Drawing the same page twice changes no caption; alternate with its neighbour's surface.
      window.ShowPage(page + 1);
      const Clock::time_point start = Clock::now();
      window.ShowPage(page);
      best = std::min(best, MillisecondsSince(start) * 1000);
      window.ShowPage(page + 2);
    }
    times.push_back(best);
  }
  return {Median(times), *std::max_element(times.begin(), times.end())};
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

double FileMegabytes(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path)) / (1024 * 1024);
}

// One open in this process, with its memory; what `open_book FILE` prints.
int OpenOnce(const std::string& path) {
  Reader reader(std::filesystem::temp_directory_path() / "quillon-bench" / "program");
  const double before = PeakMegabytes();
  const Clock::time_point start = Clock::now();
  Open(reader, path);
  const double open = MillisecondsSince(start);
  const Clock::time_point wrapStart = Clock::now();
  RowTable wide;
  wide.Wrap(reader.window.BookLines, kFullScreen);
  const double rewrap = MillisecondsSince(wrapStart);
  const auto [pageMedian, pageMax] = PageMicroseconds(reader);
  const double peak = PeakMegabytes();
  std::printf("file %.1f MB, %d lines, %d rows, %d pages\n", FileMegabytes(path),
              reader.window.LineCount, reader.window.RowCount, reader.window.PageCount);
  std::printf("open %.1f ms, re-wrap %.1f ms, page %.2f us (slowest %.2f us)\n", open, rewrap,
              pageMedian, pageMax);
  // The whole process, and what the book added to the window that was already up.
  std::printf("peak %.1f MB (%.2f x file), of which the book %.1f MB (%.2f x file)\n", peak,
              peak / FileMegabytes(path), peak - before, (peak - before) / FileMegabytes(path));
  return 0;
}

// Peak memory is measured in a process of its own, so the generated books and earlier runs of
// this one do not count.
std::pair<double, double> ChildPeakMegabytes(const char* self, const std::string& path) {
  std::string command = std::string(self) + " '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  char line[512];
  std::pair<double, double> peak;
  while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
    if (std::strncmp(line, "peak ", 5) == 0) {
      peak.first = std::atof(line + 5);
      const char* book = std::strstr(line, "the book ");
      if (book != nullptr) peak.second = std::atof(book + 9);
    }
  }
  if (pipe != nullptr) pclose(pipe);
  return peak;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return OpenOnce(argv[1]);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-bench";
  std::filesystem::create_directories(folder);
  std::printf(
      "| book | iconv | open | open / iconv | re-wrap 72x25 | re-wrap / iconv | page (median / "
      "slowest) | peak memory: process / the book |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (int megabytes : {20, 100}) {
    const std::string path =
        (folder / ("book-" + std::to_string(megabytes) + "mb.gbk.txt")).string();
    if (!std::filesystem::exists(path)) WriteBook(path, static_cast<std::size_t>(megabytes) << 20);
    IconvMilliseconds(path);  // both read the file from the page cache from here on

    std::vector<double> iconv, open, rewrap;
    Reader reader(folder / "program");
    for (int pair = 0; pair < 7; ++pair) {
      iconv.push_back(IconvMilliseconds(path));
      reader.window.BookLines = BookText();  // as on a first open: no book's memory to reuse
      const Clock::time_point start = Clock::now();
      Open(reader, path);
      open.push_back(MillisecondsSince(start));
      const Clock::time_point wrapStart = Clock::now();
      RowTable wide;
      wide.Wrap(reader.window.BookLines, kFullScreen);
      rewrap.push_back(MillisecondsSince(wrapStart));
      benchmark::DoNotOptimize(wide);
    }
    const auto [pageMedian, pageMax] = PageMicroseconds(reader);
    const auto [peak, bookPeak] = ChildPeakMegabytes(argv[0], path);
    const double base = Median(iconv);
    std::printf(
        "| %d MB | %.0f ms | %.0f ms | %.2f x | %.1f ms | %.3f x | %.1f / %.1f us | %.0f MB "
        "(%.2f x) / %.0f MB (%.2f x) |\n",
        megabytes, base, Median(open), Median(open) / base, Median(rewrap), Median(rewrap) / base,
        pageMedian, pageMax, peak, peak / FileMegabytes(path), bookPeak,
        bookPeak / FileMegabytes(path));
    std::fflush(stdout);
  }
  return 0;
}
