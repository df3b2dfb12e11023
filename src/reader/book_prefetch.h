#pragma once
// A book read on a thread of its own from the moment its path is known: a book named on the
// command line is read while the window is made, and any book has its
// chapters found while the window wraps it. A large book may have its first lines read on their
// own first, so that a page at its start is shown while the rest is read.

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "book/book_file.h"
#include "book/book_rows.h"
#include "book/chapters.h"
#include "platform/platform.h"

namespace quillon {

class BookPrefetch {
 public:
  // Books this large are worth showing from their first lines.
  static constexpr std::size_t kStartWorthBytes = 4u << 20;
  static constexpr std::size_t kNever = ~std::size_t{0};

  // Starts reading at once; when no thread is to be had, the book is read by the first to wait
  // for it. A book of `startFrom` bytes or more has its first lines read first, on their own.
  BookPrefetch(std::u16string path, std::optional<BookEncoding> encoding,
               std::size_t startFrom = kNever);
  // A read nobody took is stopped and waited for.
  ~BookPrefetch();
  BookPrefetch(const BookPrefetch&) = delete;
  BookPrefetch& operator=(const BookPrefetch&) = delete;

  const std::u16string& Path() const { return path_; }
  const std::optional<BookEncoding>& Encoding() const { return encoding_; }
  // How far the read has got, and the way to stop it.
  LongTask& Task() { return task_; }

  // Waits for the book's first lines and gives them up; no text when they were not read on their
  // own.
  BookFile TakeStart();
  // Whether the book is read, with text, within `wait`.
  bool ReadWithin(std::chrono::milliseconds wait);
  // Has the rows wrapped on the reading thread too, if the book is not read yet.
  void WrapAs(const WrapMetrics& metrics);
  // The rest of a book whose first lines were read waits for this, or for the first to wait for
  // the whole.
  void ReadRest();
  // Waits, on any thread, until all is done: the book, its rows if asked for, its chapters.
  void WaitAll();

  // Waits until the book is read (rethrowing what the read threw). The book stays here, so that
  // its chapters are found while the caller wraps it.
  const BookFile& Book();
  // Waits for the chapters (none for a book not read), then gives up the book itself.
  std::vector<Chapter> TakeChapters();
  BookFile TakeBook();
  // The rows wrapped as WrapAs asked; none when they were not.
  RowTable TakeRows();

 private:
  void Read();

  std::u16string path_;
  std::optional<BookEncoding> encoding_;
  bool startFirst_;
  LongTask task_;
  ReadControl control_;
  BookFile start_;
  BookFile book_;
  // What the reading thread is asked from outside: to read the rest, to wrap the rows.
  std::mutex askGuard_;
  std::condition_variable goOn_;
  bool restWanted_ = false;
  std::optional<WrapMetrics> wrapAs_;
  RowTable rows_;
  std::vector<Chapter> chapters_;
  std::promise<void> startPromise_;
  std::promise<void> readPromise_;
  std::promise<void> chaptersPromise_;
  std::shared_future<void> startRead_;
  std::shared_future<void> read_;
  std::shared_future<void> chaptersFound_;
  std::thread thread_;
};

}  // namespace quillon
