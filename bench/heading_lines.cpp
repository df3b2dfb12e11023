// What a book of millions of heading-like lines costs the chapter list, beside a book of as many
// plain lines: the finder must neither keep each heading as a string nor read each slowly.
//
//   heading_lines   generates in the temporary folder a book of 5,000,000 lines `第1章`, one of as
//                   many plain lines `他说道`, one alternating `第N章` and `他说道` (2,500,000
//                   chapters) and a 30 MB novel; then for each, seven runs of
//                   `quillon --chapters FILE > /dev/null` and of `open_book --window FILE` (the
//                   open in a reader window, first page drawn), as whole processes, each run
//                   alternated with the same on the plain book; prints the medians of time and
//                   peak memory (the process's maximum resident set)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "whole_process.h"

namespace {

using bench::Median;
using bench::Run;
using bench::TimeProcess;

void WriteLines(const std::filesystem::path& path, std::size_t count,
                const std::string& (*line)(std::size_t, std::string&)) {
  std::string text, scratch;
  std::ofstream file(path, std::ios::binary);
  for (std::size_t i = 0; i < count; ++i) {
    text += line(i, scratch);
    if (text.size() > (1u << 20)) {
      file.write(text.data(), static_cast<std::streamsize>(text.size()));
      text.clear();
    }
  }
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
}

constexpr std::size_t kLines = 5'000'000;
const std::string kChapterWord = "\xB5\xDA";              // 第
const std::string kChapterPart = "\xD5\xC2";              // 章
const std::string kPlain = "\xCB\xFB\xCB\xB5\xB5\xC0\n";  // 他说道

struct Book {
  const char* Name;
  std::filesystem::path Path;
};

std::vector<Book> MakeBooks(const std::filesystem::path& folder) {
  std::vector<Book> books = {
      {"5,000,000 lines 第1章", folder / "headings-5m.txt"},
      {"2,500,000 第N章 alternating with text", folder / "alternating-5m.txt"},
      {"30 MB novel", folder / "novel-30mb.txt"},
      {"5,000,000 plain lines", folder / "plain-5m.txt"}};
  const auto make = [](const std::filesystem::path& path, auto write) {
    if (!std::filesystem::exists(path)) write(path);
  };
  make(books[0].Path, [](const std::filesystem::path& path) {
    WriteLines(path, kLines, [](std::size_t, std::string& s) -> const std::string& {
      return s = kChapterWord + "1" + kChapterPart + "\n";
    });
  });
  make(books[1].Path, [](const std::filesystem::path& path) {
    WriteLines(path, kLines, [](std::size_t i, std::string& s) -> const std::string& {
      return s = i % 2 == 1 ? kPlain
                            : kChapterWord + std::to_string(i / 2 + 1) + kChapterPart + "\n";
    });
  });
  make(books[2].Path, [](const std::filesystem::path& path) {
    std::ifstream in(std::string(QUILLON_BOOKS_DIR) + "/hongloumeng.gbk.txt", std::ios::binary);
    const std::string novel((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    while (text.size() < 30'000'000) text += novel;
    text.resize(30'000'000);
    text.resize(text.rfind('\n') + 1);
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
  });
  make(books[3].Path, [](const std::filesystem::path& path) {
    WriteLines(path, kLines,
               [](std::size_t, std::string& s) -> const std::string& { return s = kPlain; });
  });
  return books;
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-bench";
  std::filesystem::create_directories(folder);
  if (!bench::InOwnProcess([&folder] { MakeBooks(folder); })) {
    std::fprintf(stderr, "the books could not be made in %s\n", folder.c_str());
    return 1;
  }
  const std::vector<Book> books = MakeBooks(folder);
  const std::filesystem::path benches = std::filesystem::canonical("/proc/self/exe").parent_path();
  const std::string quillon = (benches.parent_path() / "quillon").string();
  const std::string openBook = (benches / "open_book").string();
  const std::string plain = books.back().Path.string();
  std::printf(
      "medians of 7 runs of each, as whole processes, each alternated with the plain book\n\n");
  std::printf(
      "| book | file | --chapters | peak | open in a window | peak |\n|---|---|---|---|---|---|\n");
  for (const Book& book : books) {
    std::vector<double> listTimes, listPeaks, openTimes, openPeaks;
    for (int run = 0; run < 7; ++run) {
      const Run list = TimeProcess({quillon, "--chapters", book.Path.string()});
      TimeProcess({quillon, "--chapters", plain});
      const Run open = TimeProcess({openBook, "--window", book.Path.string()});
      TimeProcess({openBook, "--window", plain});
      listTimes.push_back(list.Milliseconds);
      listPeaks.push_back(list.PeakMegabytes);
      openTimes.push_back(open.Milliseconds);
      openPeaks.push_back(open.PeakMegabytes);
    }
    const double megabytes =
        static_cast<double>(std::filesystem::file_size(book.Path)) / (1024 * 1024);
    std::printf("| %s | %.0f MB | %.0f ms | %.0f MB (%.2f x) | %.0f ms | %.0f MB (%.2f x) |\n",
                book.Name, megabytes, Median(listTimes), Median(listPeaks),
                Median(listPeaks) / megabytes, Median(openTimes), Median(openPeaks),
                Median(openPeaks) / megabytes);
    std::fflush(stdout);
  }
  return 0;
}
