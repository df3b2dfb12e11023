// The encodings users chose for their books: stored, read back, changed, dropped again, and a
// damaged file that only loses its damaged lines.

#include "records/book_encodings.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(BookEncodingChoices, RoundTripThroughTheirFile) {
  std::string file;
  file = WithChosenEncoding(file, u"/书库/儒林外史.txt", BookEncoding::Big5);
  file = WithChosenEncoding(file, u"/书库/红楼梦.txt", BookEncoding::Utf16LE);
  EXPECT_EQ(ChosenEncoding(file, u"/书库/儒林外史.txt"), BookEncoding::Big5);
  EXPECT_EQ(ChosenEncoding(file, u"/书库/红楼梦.txt"), BookEncoding::Utf16LE);
  EXPECT_EQ(ChosenEncoding(file, u"/书库/西游记.txt"), std::nullopt);

  file = WithChosenEncoding(file, u"/书库/儒林外史.txt", BookEncoding::Utf8);
  EXPECT_EQ(ChosenEncoding(file, u"/书库/儒林外史.txt"), BookEncoding::Utf8) << "a new choice";
  EXPECT_EQ(file.rfind("\"/", 0), 0u);
  EXPECT_NE(file.find("UTF-8\"\r\n"), std::string::npos) << "the latest choice comes first";
  file = WithChosenEncoding(file, u"/书库/儒林外史.txt", std::nullopt);
  EXPECT_EQ(ChosenEncoding(file, u"/书库/儒林外史.txt"), std::nullopt) << "back to detection";
  EXPECT_EQ(ChosenEncoding(file, u"/书库/红楼梦.txt"), BookEncoding::Utf16LE);

  // Damaged lines are skipped and dropped at the next write; the others stay.
  const std::string damaged = file + "\"/a.txt\",\"EBCDIC\"\r\nnot a line\r\n\"/b.txt\"\r\n";
  EXPECT_EQ(ChosenEncoding(damaged, u"/a.txt"), std::nullopt);
  EXPECT_EQ(WithChosenEncoding(damaged, u"/c.txt", std::nullopt), file);
  for (BookEncoding encoding : {BookEncoding::Gb18030, BookEncoding::Big5, BookEncoding::Utf8,
                                BookEncoding::Utf16LE, BookEncoding::Utf16BE}) {
    EXPECT_EQ(EncodingNamed(EncodingName(encoding)), encoding);
  }
}

}  // namespace
}  // namespace quillon
