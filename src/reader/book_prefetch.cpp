#include "reader/book_prefetch.h"

#include <exception>
#include <new>
#include <system_error>
#include <utility>

#include "platform/files.h"

namespace quillon {

namespace {

// Enough for the first pages of any layout, and for a place kept a few chapters in.
constexpr std::size_t kStartBytes = 256u << 10;

}  // namespace

BookPrefetch::BookPrefetch(std::u16string path, std::optional<BookEncoding> encoding,
                           std::size_t startFrom)
    : path_(std::move(path)),
      encoding_(encoding),
      startRead_(startPromise_.get_future().share()),
      read_(readPromise_.get_future().share()),
      chaptersFound_(chaptersPromise_.get_future().share()) {
  task_.Total = files::RegularFileSize(path_).value_or(0);
  control_.Cancel = &task_.Cancel;
  control_.BytesDone = &task_.Done;
  startFirst_ = task_.Total >= startFrom;
  if (!startFirst_) startPromise_.set_value();
  try {
    thread_ = std::thread([this] { Read(); });
  } catch (const std::system_error&) {
    // Read by Book() instead, all at once.
    if (startFirst_) startPromise_.set_value();
    startFirst_ = false;
  }
}

void BookPrefetch::ReadRest() {
  {
    const std::lock_guard<std::mutex> lock(askGuard_);
    restWanted_ = true;
  }
  goOn_.notify_all();
}

BookPrefetch::~BookPrefetch() {
  if (thread_.joinable()) {
    ReadRest();
    task_.Cancel = true;
    thread_.join();
  }
}

void BookPrefetch::Read() {
  if (startFirst_) {
    try {
      start_ = ReadBookStart(path_, encoding_, kStartBytes);
    } catch (...) {
      // Then the page waits for the whole book, whose read tells what went wrong.
      start_ = BookFile();
    }
    startPromise_.set_value();
    // The rest waits while the window starts: on two cores, decoding beside it slows both.
    if (start_.Text) {
      std::unique_lock<std::mutex> lock(askGuard_);
      goOn_.wait(lock, [this] { return restWanted_; });
    }
  }
  try {
    book_ = ReadBookFile(path_, encoding_, &control_);
    readPromise_.set_value();
  } catch (...) {
    readPromise_.set_exception(std::current_exception());
    chaptersPromise_.set_value();
    return;
  }
  try {
    std::optional<WrapMetrics> wrapAs;
    {
      const std::lock_guard<std::mutex> lock(askGuard_);
      wrapAs = wrapAs_;
      wrapAs_.reset();
    }
    if (wrapAs && book_.Text) {
      try {
        rows_.Wrap(*book_.Text, *wrapAs);
      } catch (const std::bad_alloc&) {
        // Wrapped again by the taker, where running out of memory is told.
        rows_ = RowTable();
      }
    }
    if (book_.Text) chapters_ = FindChapters(*book_.Text);
    chaptersPromise_.set_value();
  } catch (...) {
    chaptersPromise_.set_exception(std::current_exception());
  }
}

BookFile BookPrefetch::TakeStart() {
  startRead_.wait();
  return std::move(start_);
}

bool BookPrefetch::ReadWithin(std::chrono::milliseconds wait) {
  ReadRest();
  if (!thread_.joinable() || read_.wait_for(wait) != std::future_status::ready) return false;
  try {
    read_.get();
  } catch (...) {
    return false;
  }
  return book_.Text.has_value();
}

void BookPrefetch::WrapAs(const WrapMetrics& metrics) {
  const std::lock_guard<std::mutex> lock(askGuard_);
  wrapAs_ = metrics;
}

void BookPrefetch::WaitAll() {
  ReadRest();
  // A copy of its own for each thread that waits.
  const std::shared_future<void> read = read_;
  const std::shared_future<void> chapters = chaptersFound_;
  read.wait();
  chapters.wait();
}

RowTable BookPrefetch::TakeRows() {
  WaitAll();
  return std::move(rows_);
}

const BookFile& BookPrefetch::Book() {
  ReadRest();
  if (!thread_.joinable() && read_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    Read();
  }
  read_.get();
  return book_;
}

std::vector<Chapter> BookPrefetch::TakeChapters() {
  Book();
  chaptersFound_.get();
  return std::move(chapters_);
}

BookFile BookPrefetch::TakeBook() {
  TakeChapters();
  if (thread_.joinable()) thread_.join();
  return std::move(book_);
}

}  // namespace quillon
