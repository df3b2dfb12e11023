#include "support/test_books.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quillon::fake {

std::filesystem::path TestBooksDir() {
  return std::filesystem::path(QUILLON_BOOKS_DIR);
}

std::string ReadTestBook(const std::string& name) {
  const std::filesystem::path path = TestBooksDir() / name;
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.good()) << "test book missing: " << path;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace quillon::fake
