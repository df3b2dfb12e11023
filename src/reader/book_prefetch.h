#pragma once
// A book read on a thread of its own from the moment its path is known: a book named on the
// command line is read while the window system and the window start, and any book has its
// chapters found while the window wraps it.

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "book/book_file.h"
#include "book/chapters.h"
#include "platform/platform.h"

namespace quillon {

class BookPrefetch {
 public:
  // Starts reading at once; when no thread is to be had, the book is read by the first to wait
  // for it.
  BookPrefetch(std::u16string path, std::optional<BookEncoding> encoding);
  // A read nobody took is stopped and waited for.
  ~BookPrefetch();
  BookPrefetch(const BookPrefetch&) = delete;
  BookPrefetch& operator=(const BookPrefetch&) = delete;

  const std::u16string& Path() const { return path_; }
  const std::optional<BookEncoding>& Encoding() const { return encoding_; }
  // How far the read has got, and the way to stop it.
  LongTask& Task() { return task_; }

  // Waits until the book is read (rethrowing what the read threw). The book stays here, so that
  // its chapters are found while the caller wraps it.
  const BookFile& Book();
  // Waits for the chapters (none for a book not read), then gives up the book itself.
  std::vector<Chapter> TakeChapters();
  BookFile TakeBook();

 private:
  void Read();

  std::u16string path_;
  std::optional<BookEncoding> encoding_;
  LongTask task_;
  ReadControl control_;
  BookFile book_;
  std::vector<Chapter> chapters_;
  std::promise<void> readPromise_;
  std::promise<void> chaptersPromise_;
  std::shared_future<void> read_;
  std::shared_future<void> chaptersFound_;
  std::thread thread_;
};

}  // namespace quillon
