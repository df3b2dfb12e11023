#include "reader/book_prefetch.h"

#include <exception>
#include <system_error>
#include <utility>

#include "platform/files.h"

namespace quillon {

BookPrefetch::BookPrefetch(std::u16string path, std::optional<BookEncoding> encoding)
    : path_(std::move(path)),
      encoding_(encoding),
      read_(readPromise_.get_future().share()),
      chaptersFound_(chaptersPromise_.get_future().share()) {
  task_.Total = files::RegularFileSize(path_).value_or(0);
  control_.Cancel = &task_.Cancel;
  control_.BytesDone = &task_.Done;
  try {
    thread_ = std::thread([this] { Read(); });
  } catch (const std::system_error&) {
    // Read by Book() instead.
  }
}

BookPrefetch::~BookPrefetch() {
  if (thread_.joinable()) {
    task_.Cancel = true;
    thread_.join();
  }
}

void BookPrefetch::Read() {
  try {
    book_ = ReadBookFile(path_, encoding_, &control_);
    readPromise_.set_value();
  } catch (...) {
    readPromise_.set_exception(std::current_exception());
    chaptersPromise_.set_value();
    return;
  }
  try {
    if (book_.Text) chapters_ = FindChapters(*book_.Text);
    chaptersPromise_.set_value();
  } catch (...) {
    chaptersPromise_.set_exception(std::current_exception());
  }
}

const BookFile& BookPrefetch::Book() {
  if (!thread_.joinable() &&
      read_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
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
