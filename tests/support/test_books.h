#pragma once
// The shared test books (GBK novels with CR LF) that lie beside the repository.

#include <filesystem>
#include <string>

namespace quillon::fake {

// The folder of the test books; configure with -DQUILLON_SHARED_DIR=... when they live elsewhere.
std::filesystem::path TestBooksDir();
// The bytes of one book; a test fails with a clear message when the book is not there.
std::string ReadTestBook(const std::string& name);

}  // namespace quillon::fake
