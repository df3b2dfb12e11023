// How fast a book opens, as a whole process, against iconv decoding the same file; how much
// memory the open takes; and how fast a re-wrap and a page are.
//
//   open_book             generates books in the temporary folder (GBK of 20, 100, 500 and 40 MB,
//                         a 40 MB paragraph without a line break, 40 MB of blank lines, and the
//                         100 MB book in Big5, UTF-8 and UTF-16) and prints, for each, the medians
//                         of seven alternating runs of `open_book --open FILE` and of
//                         `iconv -f ENCODING -t UTF-16LE FILE > /dev/null`, both as processes
//   open_book --make FILE MEGABYTES
//                         writes a generated GBK book of that size, as the ones above
//   open_book --open FILE reads, decodes, splits and wraps the book at 41 x 25, and ends: the
//                         process a user waits for, without the window
//   open_book FILE        opens that one book in a reader window and prints its figures
//   open_book --window FILE [t2s|s2t]
//                         opens it in a reader window shown as written or converted, draws pages
//                         through the book, and prints one row of the table of converted books

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_machine.h"
#include "book/book_file.h"
#include "book/book_rows.h"
#include "platform/codepage.h"
#include "reader/frmMain.h"
#include "records/book_scripts.h"
#include "whole_process.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;
using bench::Run;
using bench::TimeProcess;
using quillon::BookText;
using quillon::RowTable;
using quillon::WrapMetrics;

const WrapMetrics kFullScreen{72, 25, 4};  // 10.5 points at 1024*768 in the full-screen layout

// Chinese prose as novels on the web have it: GB2312 characters with a few GBK-only ones,
// full-width punctuation, paragraphs of 20 to 600 characters indented by spaces, now and then an
// ASCII comma or a blank line, CR LF line ends.
// With `lineBreaks` false the book is one paragraph: Chinese and full-width punctuation only.
// With `big5` it is a traditional-Chinese book in Big5: its frequently used characters and
// punctuation.
void WriteBook(const std::string& path, std::size_t bytes, bool lineBreaks = true,
               bool big5 = false) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> lead(big5 ? 0xA4 : 0xB0, big5 ? 0xC5 : 0xD7);
  std::uniform_int_distribution<int> trail(0xA1, 0xF9);
  std::uniform_int_distribution<int> lowTrail(0x40, 0x7E);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> paragraph(20, 600);
  std::uniform_int_distribution<int> clause(4, 16);
  const char* const gbkPunctuation[] = {"\xA3\xAC", "\xA1\xA3", "\xA3\xBA", "\xA1\xB0", "\xA1\xB1",
                                        "\xA3\xA1", "\xA3\xBF", "\xA1\xA2", "\xA3\xBB"};
  const char* const big5Punctuation[] = {"\xA1\x41", "\xA1\x43", "\xA1\x47", "\xA1\x75", "\xA1\x76",
                                         "\xA1\x49", "\xA1\x48", "\xA1\x42", "\xA1\x46"};
  const char* const* punctuation = big5 ? big5Punctuation : gbkPunctuation;
  const char* const indent = big5 ? "\xA1\x40\xA1\x40" : "\xA1\xA1\xA1\xA1";
  std::string text;
  text.reserve(bytes + 4096);
  while (text.size() < bytes) {
    if (lineBreaks && percent(random) < 5) {
      text += "\r\n";
      continue;
    }
    if (lineBreaks) text += percent(random) < 70 ? "    " : indent;
    const int length = paragraph(random);
    int untilPunctuation = clause(random);
    for (int i = 0; i < length; ++i) {
      if (--untilPunctuation == 0) {
        text += lineBreaks && percent(random) < 2 ? "," : punctuation[random() % 9];
        untilPunctuation = clause(random);
      } else if (!big5 && percent(random) == 0) {
        text += static_cast<char>(0x81 + random() % 0x20);  // a GBK-only character
        text += static_cast<char>(0x40 + random() % 0x3F);
      } else {
        text += static_cast<char>(lead(random));
        // Big5's trail bytes run from 0x40 to 0x7E as well.
        text += static_cast<char>(big5 && percent(random) < 40 ? lowTrail(random) : trail(random));
      }
    }
    if (lineBreaks) text += "\r\n";
  }
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

// What a user waits for, without the window: read, decode, split into lines, wrap at 41 x 25.
int OpenOnly(const std::string& path) {
  quillon::BookFile book = quillon::ReadBookFile(quillon::codepage::DecodeUtf8(path));
  if (!book.Text) return 1;
  RowTable rows;
  rows.Wrap(*book.Text, WrapMetrics{41, 25, 4});
  benchmark::DoNotOptimize(rows.Count());
  return 0;
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

// The memory the process has held at most since it began (not what the process it came from held,
// which the system's own count keeps).
double HighWaterMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  }
  return 0;
}

// A book shown as written or in the other script: the open in the window (reading, wrapping and
// drawing the first page), pages drawn through the book, and memory.
int OpenInScript(const std::string& path, const std::string& script) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "quillon-bench" / ("program-" + script);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Bookmark");
  const auto conversion = quillon::ScriptConversionNamed(quillon::codepage::DecodeUtf8(script));
  if (conversion) {
    std::ofstream(folder / "Bookmark" / "Scripts.dat", std::ios::binary)
        << quillon::WithChosenScript("", quillon::codepage::DecodeUtf8(path), *conversion);
  }
  Reader reader(folder);
  const Clock::time_point start = Clock::now();
  Open(reader, path);
  reader.window.ShowPage(0);
  const double open = MillisecondsSince(start);
  if (reader.window.BookScript != conversion.value_or(quillon::ScriptConversion::None)) return 1;
  // Each page drawn once, as a reader turning to it draws it: a converted page is converted then.
  std::vector<double> times;
  for (int sample = 1; sample <= 2000; ++sample) {
    const auto page = static_cast<std::int32_t>(
        static_cast<std::int64_t>(reader.window.PageCount - 1) * sample / 2000);
    const Clock::time_point drawn = Clock::now();
    reader.window.ShowPage(page);
    times.push_back(MillisecondsSince(drawn) * 1000);
  }
  const double pageMedian = Median(times);
  const double pageMax = *std::max_element(times.begin(), times.end());
  std::printf("%f %f %f %f\n", open, pageMedian, pageMax, HighWaterMegabytes());
  return 0;
}

struct Book {
  const char* Name;
  std::string Path;
  const char* Encoding;  // as iconv names it
};

// The generated books; each is written once and kept in the temporary folder for later runs.
std::vector<Book> MakeBooks(const std::filesystem::path& folder) {
  const auto path = [&folder](const std::string& name) { return (folder / name).string(); };
  const auto ensure = [](const std::string& file, const std::function<void()>& make) {
    if (!std::filesystem::exists(file)) make();
  };
  const std::string gbk100 = path("book-100mb.gbk.txt");
  ensure(path("book-20mb.gbk.txt"), [&] { WriteBook(path("book-20mb.gbk.txt"), 20u << 20); });
  ensure(gbk100, [&] { WriteBook(gbk100, 100u << 20); });
  ensure(path("book-500mb.gbk.txt"), [&] { WriteBook(path("book-500mb.gbk.txt"), 500u << 20); });
  ensure(path("book-40mb.gbk.txt"), [&] { WriteBook(path("book-40mb.gbk.txt"), 40u << 20); });
  ensure(path("paragraph-40mb.gbk.txt"),
         [&] { WriteBook(path("paragraph-40mb.gbk.txt"), 40u << 20, false); });
  ensure(path("blank-40mb.txt"), [&] {
    std::string blank;
    for (std::size_t i = 0; i < (20u << 20); ++i) blank += "\r\n";
    std::ofstream(path("blank-40mb.txt"), std::ios::binary).write(blank.data(), 40 << 20);
  });
  // The same book in the other encodings the reader detects, converted by the reader's own codec.
  const auto convert = [&](const std::string& name,
                           const std::function<std::string(const std::u16string&)>& encode) {
    ensure(path(name), [&] {
      std::ifstream in(gbk100, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      const std::string out = encode(quillon::codepage::DecodeGb18030(bytes));
      std::ofstream(path(name), std::ios::binary)
          .write(out.data(), static_cast<std::streamsize>(out.size()));
    });
  };
  ensure(path("book-100mb.big5.txt"),
         [&] { WriteBook(path("book-100mb.big5.txt"), 100u << 20, true, true); });
  convert("book-100mb.utf8.txt",
          [](const std::u16string& t) { return quillon::codepage::EncodeUtf8(t); });
  convert("book-100mb.utf16.txt", [](const std::u16string& t) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : t) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    return bytes;
  });
  return {{"20 MB", path("book-20mb.gbk.txt"), "GBK"},
          {"100 MB", gbk100, "GBK"},
          {"500 MB", path("book-500mb.gbk.txt"), "GBK"},
          {"40 MB", path("book-40mb.gbk.txt"), "GBK"},
          {"40 MB, one paragraph", path("paragraph-40mb.gbk.txt"), "GBK"},
          {"40 MB of blank lines", path("blank-40mb.txt"), "GBK"},
          {"100 MB in Big5", path("book-100mb.big5.txt"), "BIG5"},
          {"100 MB in UTF-8", path("book-100mb.utf8.txt"), "UTF-8"},
          {"100 MB in UTF-16", path("book-100mb.utf16.txt"), "UTF-16"}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--open") return OpenOnly(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "--make") {
    WriteBook(argv[2], static_cast<std::size_t>(std::atof(argv[3]) * 1024 * 1024));
    return 0;
  }
  if ((argc == 3 || argc == 4) && std::string(argv[1]) == "--window") {
    return OpenInScript(argv[2], argc == 4 ? argv[3] : "");
  }
  if (argc == 2) return OpenOnce(argv[1]);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-bench";
  std::filesystem::create_directories(folder);
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  std::printf("on %u cores; medians of 7 alternating runs of each, as whole processes\n\n",
              std::thread::hardware_concurrency());
  std::printf("| book | iconv | open | open / iconv | peak memory of the open |\n");
  std::printf("|---|---|---|---|---|\n");
  std::fflush(stdout);
  if (!bench::InOwnProcess([&folder] { MakeBooks(folder); })) {
    std::fprintf(stderr, "the books could not be made in %s\n", folder.c_str());
    return 1;
  }
  for (const Book& book : MakeBooks(folder)) {
    const std::vector<std::string> iconv = {"iconv", "-f",       book.Encoding,
                                            "-t",    "UTF-16LE", book.Path};
    const std::vector<std::string> open = {self, "--open", book.Path};
    TimeProcess(iconv);  // both read the file from the page cache from here on
    std::vector<double> iconvTimes, openTimes, peaks;
    for (int pair = 0; pair < 7; ++pair) {
      iconvTimes.push_back(TimeProcess(iconv).Milliseconds);
      const Run run = TimeProcess(open);
      openTimes.push_back(run.Milliseconds);
      peaks.push_back(run.PeakMegabytes);
    }
    const double base = Median(iconvTimes);
    const double peak = Median(peaks);
    std::printf("| %s | %.0f ms | %.0f ms | %.2f x | %.0f MB (%.2f x the file) |\n", book.Name,
                base, Median(openTimes), Median(openTimes) / base, peak,
                peak / FileMegabytes(book.Path));
    std::fflush(stdout);
  }

  // In the reader: a re-wrap for the other layout, and drawing a page, which must stay instant.
  std::printf("\n| book | re-wrap 72x25 | page drawn (median / slowest) |\n|---|---|---|\n");
  for (const char* name : {"book-20mb.gbk.txt", "book-100mb.gbk.txt"}) {
    Reader reader(folder / "program");
    Open(reader, (folder / name).string());
    std::vector<double> rewrap;
    for (int run = 0; run < 7; ++run) {
      const Clock::time_point wrapStart = Clock::now();
      RowTable wide;
      wide.Wrap(reader.window.BookLines, kFullScreen);
      rewrap.push_back(MillisecondsSince(wrapStart));
      benchmark::DoNotOptimize(wide);
    }
    const auto [pageMedian, pageMax] = PageMicroseconds(reader);
    std::printf("| %s | %.1f ms | %.1f / %.1f us |\n", name, Median(rewrap), pageMedian, pageMax);
  }

  // The 100 MB book in the other script, each open a process of its own, alternated with the book
  // as written, five rounds, medians: the open in the window (the first page drawn), pages drawn
  // through the whole book the first time (each converted then), and memory.
  std::printf(
      "\n| 100 MB book shown | open in the window | a page drawn the first time "
      "(median / slowest) | peak memory |\n|---|---|---|---|\n");
  const std::string book = (folder / "book-100mb.gbk.txt").string();
  const char* const scripts[] = {"", "s2t", "t2s"};
  std::vector<std::array<double, 4>> runs[3];
  for (int round = 0; round < 5; ++round) {
    for (int k = 0; k < 3; ++k) {
      const std::string command =
          "'" + self + "' --window '" + book + "' " + scripts[k] + " 2>/dev/null";
      FILE* output = popen(command.c_str(), "r");
      std::array<double, 4> run{};
      if (output == nullptr ||
          std::fscanf(output, "%lf %lf %lf %lf", &run[0], &run[1], &run[2], &run[3]) != 4 ||
          pclose(output) != 0) {
        std::fprintf(stderr, "%s failed\n", command.c_str());
        return 1;
      }
      runs[k].push_back(run);
    }
  }
  for (int k = 0; k < 3; ++k) {
    const auto median = [&](std::size_t field) {
      std::vector<double> values;
      for (const auto& run : runs[k]) values.push_back(run[field]);
      return Median(values);
    };
    std::printf("| %s | %.0f ms | %.2f / %.2f ms | %.0f MB (%.2f x the file) |\n",
                k == 0 ? "as written" : scripts[k], median(0), median(1) / 1000, median(2) / 1000,
                median(3), median(3) / FileMegabytes(book));
  }
  return 0;
}
