#pragma once
// The test books (GBK novels with CR LF) in tests/data/books, with a README of what each holds.

#include <filesystem>
#include <string>

namespace quillon::fake {

// The folder of the test books.
std::filesystem::path TestBooksDir();
// The bytes of one book; a test fails with a clear message when the book is not there.
std::string ReadTestBook(const std::string& name);

}  // namespace quillon::fake
