// The places kept beside the records: read back only for the very file they were kept for, kept
// only for the books the records name, and a damaged line costing only itself.

#include "records/book_places.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace quillon {
namespace {

TEST(BookPlaces, RoundTripForTheSameFileOnly) {
  const files::FileStamp stamp{1'234'567, 1'765'000'000'123'456'789};
  const std::u16string red = u"/书库/红楼梦.txt", journey = u"/书库/西游记.txt",
                       rare = u"/书库/𠀀字.txt";
  const std::vector<std::u16string> books{red, journey, rare};
  std::string file;
  file = WithKeptPlace(file, {red, stamp, {120, 37}}, books);
  file = WithKeptPlace(file, {journey, {9, 9}, {0, 0}}, books);
  file = WithKeptPlace(file, {rare, stamp, {5, 2'000'000'000}}, books);
  EXPECT_EQ(PlaceKeptFor(file, red, stamp), (BookPlace{120, 37}));
  EXPECT_EQ(PlaceKeptFor(file, journey, {9, 9}), (BookPlace{0, 0}));
  EXPECT_EQ(PlaceKeptFor(file, rare, stamp), (BookPlace{5, 2'000'000'000})) << "any path, any size";
  // Another size or time is another book: its place would land anywhere.
  EXPECT_EQ(PlaceKeptFor(file, red, {stamp.Size + 1, stamp.Modified}), std::nullopt);
  EXPECT_EQ(PlaceKeptFor(file, red, {stamp.Size, stamp.Modified - 1}), std::nullopt);
  EXPECT_EQ(PlaceKeptFor(file, u"/书库/儒林外史.txt", stamp), std::nullopt);

  // A new place replaces the book's old one and comes first; books the records no longer name go.
  file = WithKeptPlace(file, {red, stamp, {121, 0}}, {red, rare});
  EXPECT_EQ(PlaceKeptFor(file, red, stamp), (BookPlace{121, 0}));
  EXPECT_EQ(PlaceKeptFor(file, journey, {9, 9}), std::nullopt);
  EXPECT_EQ(file.rfind("\"" + codepage::EncodeGb18030(red) + "\",1234567,", 0), 0u);
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2);

  // Damaged lines are skipped without their neighbours and dropped at the next write; a path the
  // file cannot hold is never written.
  const std::string damaged =
      "\"/a.txt\",1,2,3\r\nnot a line\r\n\"/b.txt\",1,2,x,4\r\n\"/c.txt\"," +
      std::string("1,2,3,99999999999\r\n") + file;
  EXPECT_EQ(PlaceKeptFor(damaged, u"/a.txt", {1, 2}), std::nullopt);
  EXPECT_EQ(PlaceKeptFor(damaged, u"/c.txt", {1, 2}), std::nullopt);
  EXPECT_EQ(PlaceKeptFor(damaged, red, stamp), (BookPlace{121, 0}));
  EXPECT_EQ(WithKeptPlace(damaged, {u"/引\"号.txt", stamp, {1, 1}}, {red, rare, u"/a.txt"}), file);
}

}  // namespace
}  // namespace quillon
