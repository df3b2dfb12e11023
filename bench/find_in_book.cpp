// How long finding the chapters and searching take, next to opening the book.
//
//   find_in_book   a generated 100 MB GBK novel (a table of contents, then chapters of about
//                  3,000 characters of prose) and the test books: medians of seven runs of the
//                  open (reading, decoding and splitting into lines, before any wrap), the
//                  chapter finder, and whole-book searches, at once and in slices of 2,000 lines
//                  as a window runs them

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_search.h"
#include "book/chapters.h"
#include "platform/codepage.h"

namespace {

using Clock = std::chrono::steady_clock;
using quillon::BookText;

constexpr std::int32_t kSliceLines = 2000;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Work>
double MedianMilliseconds(Work work) {
  std::vector<double> times;
  for (int run = 0; run < 7; ++run) {
    const Clock::time_point start = Clock::now();
    work();
    times.push_back(MillisecondsSince(start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::u16string ChineseNumber(int n) {
  static const char16_t kDigits[] = u"零一二三四五六七八九";
  static const char16_t kUnits[] = u"千百十";
  std::u16string text;
  if (n >= 10000) {
    text += ChineseNumber(n / 10000) + u"万";
    n %= 10000;
    if (n > 0 && n < 1000) text += u'零';
  }
  bool zero = false;
  for (int unit = 1000, place = 0; unit >= 10; unit /= 10, ++place) {
    const int digit = n / unit % 10;
    if (digit == 0) {
      zero = !text.empty();
      continue;
    }
    if (zero) text += u'零';
    zero = false;
    if (!(unit == 10 && digit == 1 && text.empty())) text += kDigits[digit];
    text += kUnits[place];
  }
  if (n % 10 != 0) {
    if (zero) text += u'零';
    text += kDigits[n % 10];
  }
  return text.empty() ? u"零" : text;
}

// Prose as web novels have it: GB2312 characters, full-width punctuation, paragraphs of 20 to 600
// characters behind spaces, now and then an ASCII comma; a heading every 3,000 characters or so,
// all of them listed at the front.
std::string MakeBook(std::size_t bytes) {
  std::mt19937 random(20261207);
  const auto below = [&random](int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
  };
  const auto someCharacters = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      text += static_cast<char>(0xB0 + below(0x28));
      text += static_cast<char>(0xA1 + below(0x59));
    }
    return text;
  };
  const char* const punctuation[] = {"\xA3\xAC", "\xA1\xA3", "\xA3\xBA", "\xA1\xB0", "\xA1\xB1",
                                     "\xA3\xA1", "\xA3\xBF", "\xA1\xA2", "\xA3\xBB"};
  const int chapterCount = static_cast<int>(bytes / 6200);
  std::vector<std::string> headings;
  for (int n = 1; n <= chapterCount; ++n) {
    headings.push_back(quillon::codepage::EncodeGb18030(u"第" + ChineseNumber(n) + u"章　") +
                       someCharacters(4 + below(8)));
  }
  std::string text;
  text.reserve(bytes + 8192);
  for (const std::string& heading : headings) text += heading + "\r\n";
  for (const std::string& heading : headings) {
    text += "\r\n" + heading + "\r\n\r\n";
    for (int written = 0; written < 3000;) {
      text += below(10) < 7 ? "    " : "\xA1\xA1\xA1\xA1";
      const int length = 20 + below(580);
      for (int i = 0, clause = 4 + below(12); i < length; ++i) {
        if (--clause == 0) {
          text += below(50) == 0 ? "," : punctuation[below(9)];
          clause = 4 + below(12);
        } else {
          text += someCharacters(1);
        }
      }
      text += "\r\n";
      written += length;
    }
  }
  return text;
}

void Measure(const std::string& name, const std::filesystem::path& path) {
  BookText book;
  const std::u16string file = quillon::codepage::DecodeUtf8(path.string());
  const double open = MedianMilliseconds([&] {
    book = BookText();  // as on a first open: no book's memory to reuse
    book = std::move(*quillon::ReadBookFile(file).Text);
  });
  std::size_t chapters = 0;
  const double find = MedianMilliseconds([&] { chapters = quillon::FindChapters(book).size(); });
  std::printf("| %s | %.1f MB | %d | %.1f ms | %zu | %.2f ms (%.2f %%) |", name.c_str(),
              static_cast<double>(std::filesystem::file_size(path)) / (1 << 20), book.Count(), open,
              chapters, find, 100 * find / open);
  for (const char16_t* needle : {u"宝玉", u"，", u"Chapter"}) {
    std::int64_t hits = 0;
    const double whole = MedianMilliseconds([&] {
      quillon::BookSearch search(needle);
      search.Step(book, INT32_MAX);
      hits = search.TotalHits();
    });
    // The slowest slice of a run, in the run where it was least: a slice that the scheduler
    // interrupted in one run is not held against the search.
    double slowest = 1e9;
    const double sliced = MedianMilliseconds([&] {
      quillon::BookSearch search(needle);
      double slowestInRun = 0;
      while (!search.Done()) {
        const Clock::time_point start = Clock::now();
        search.Step(book, kSliceLines);
        slowestInRun = std::max(slowestInRun, MillisecondsSince(start));
      }
      slowest = std::min(slowest, slowestInRun);
    });
    std::printf(" %lld: %.1f / %.1f ms, %.2f ms |", static_cast<long long>(hits), whole, sliced,
                slowest);
  }
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main() {
  std::printf("| book | size | lines | open | chapters | finder (of the open) | %s | %s | %s |\n",
              "宝玉: hits, whole / sliced, slowest slice", "，: the same", "Chapter: the same");
  std::printf("|---|---|---|---|---|---|---|---|---|\n");
  for (const char* name : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    Measure(name, std::filesystem::path(QUILLON_BOOKS_DIR) / name);
  }
  // Kept between runs, as a generated book is the same every time.
  const std::filesystem::path generated =
      std::filesystem::temp_directory_path() / "quillon-find-bench-100mb.gbk.txt";
  if (!std::filesystem::exists(generated)) {
    const std::string bytes = MakeBook(std::size_t{100} << 20);
    std::ofstream(generated, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  Measure("generated", generated);
  return 0;
}
