// The history list and its file: the move-to-top rule, the exact bytes, and damaged files.

#include "records/reading_history.h"

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <string>

#include "platform/codepage.h"
#include "records/last_read.h"

namespace quillon {
namespace {

const DateTime kLeft{2026, 12, 6, 5, 18, 3};
const std::string kEmptyLine = "#1899-12-30#,\"\",0\r\n";

std::u16string Book(char16_t letter) {
  return u"/home/reader/书/" + std::u16string(1, letter) + u".txt";
}

// The paths of the history, as letters: "BA" for B first, then A, then empty entries.
std::u16string Order(const mPubVariable& pub) {
  std::u16string order;
  for (const std::u16string& path : pub.ReadRecordPath) {
    order += path.empty() ? u'-' : path[path.size() - 5];
  }
  return order;
}

TEST(ReadingHistory, TheFirstBookLeftWritesTwentyLines) {
  mPubVariable pub;
  MoveBookToTop(pub, u"/书/红楼梦.txt", kLeft, 0.185f);
  std::string expected =
      "#2026-12-06 05:18:03#,\"/" + codepage::EncodeGb18030(u"书/红楼梦") + ".txt\",.185\r\n";
  for (int i = 1; i < 20; ++i) expected += kEmptyLine;
  EXPECT_EQ(HistoryFileBytes(pub), expected);
}

TEST(ReadingHistory, TheBookLeftGoesToTheTopAndTheOthersKeepTheirOrder) {
  mPubVariable pub;
  MoveBookToTop(pub, Book(u'A'), kLeft, 0.1f);
  MoveBookToTop(pub, Book(u'B'), kLeft, 0.2f);
  MoveBookToTop(pub, Book(u'A'), DateTime{2026, 12, 7, 9, 0, 0}, 0.5f);
  EXPECT_EQ(Order(pub), u"AB------------------");
  EXPECT_EQ(pub.ReadRecordPercent[0], 0.5f);
  EXPECT_EQ(pub.ReadRecordDate[0], (DateTime{2026, 12, 7, 9, 0, 0}));

  for (char16_t c : std::u16string(u"CDEFGHIJKLMNOPQRST")) MoveBookToTop(pub, Book(c), kLeft, 0);
  EXPECT_EQ(Order(pub), u"TSRQPONMLKJIHGFEDCAB");
  MoveBookToTop(pub, Book(u'L'), kLeft, 0);  // entry 8
  EXPECT_EQ(Order(pub), u"LTSRQPONMKJIHGFEDCAB");
  MoveBookToTop(pub, Book(u'U'), kLeft, 0);  // a 21st book
  EXPECT_EQ(Order(pub), u"ULTSRQPONMKJIHGFEDCA");
}

TEST(ReadingHistory, PathsDifferingInCaseAreDifferentBooks) {
  mPubVariable pub;
  MoveBookToTop(pub, u"/books/a.txt", kLeft, 0);
  MoveBookToTop(pub, u"/books/A.txt", kLeft, 0);
  EXPECT_EQ(pub.ReadRecordPath[0], u"/books/A.txt");
  EXPECT_EQ(pub.ReadRecordPath[1], u"/books/a.txt");
}

TEST(ReadingHistory, ReadsBackWhatItWrote) {
  mPubVariable pub;
  MoveBookToTop(pub, u"/书/儒林外史 鎔𠀀.txt", kLeft, 0.5f);
  MoveBookToTop(pub, u"/a,b.txt", DateTime{2026, 1, 2, 0, 0, 0}, 0.375f);
  const std::string bytes = HistoryFileBytes(pub);
  EXPECT_NE(bytes.find(",.5\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("#2026-01-02#"), std::string::npos) << "midnight is the date alone";
  mPubVariable read;
  ParseHistoryFile(bytes, read);
  EXPECT_EQ(read.ReadRecordPath, pub.ReadRecordPath);
  EXPECT_EQ(read.ReadRecordDate, pub.ReadRecordDate);
  EXPECT_EQ(read.ReadRecordPercent, pub.ReadRecordPercent);
}

TEST(ReadingHistory, ADamagedFileKeepsTheLinesThatReadAndNothingElse) {
  std::string bytes =
      "#2026-12-06 05:18:03#,\"/a.txt\",.5\r\n"
      "garbage line\r\n"
      "#2026-12-06 05:18:03#,\"/a\"x\"y.txt,.5\r\n"
      "#2026-13-45 99:00:00#,\"/bad-date.txt\",.5\r\n"
      "\xFF\xFE\x01\x02\r\n"
      "#2026-12-05 10:00:00#,\"/b.txt\",.25\r\n"
      "#2026-12-05 10:00:00#,\"/no-number.txt\",many\r\n";
  for (int i = 0; i < 30; ++i)
    bytes += "#2026-12-01 10:00:00#,\"/c" + std::to_string(i) + ".txt\",.1\r\n";
  mPubVariable pub;
  pub.ReadRecordPath[19] = u"/left over from before.txt";
  ParseHistoryFile(bytes, pub);
  EXPECT_EQ(pub.ReadRecordPath[0], u"/a.txt");
  EXPECT_EQ(pub.ReadRecordPath[1], u"/b.txt");
  EXPECT_EQ(pub.ReadRecordPath[2], u"/c0.txt");
  EXPECT_EQ(pub.ReadRecordPath[19], u"/c17.txt") << "no more than 20 entries";

  mPubVariable junk;
  junk.ReadRecordPath[3] = u"/x.txt";
  ParseHistoryFile(std::string(5000, '\x81'), junk);
  EXPECT_EQ(Order(junk), u"--------------------");
  EXPECT_EQ(HistoryFileBytes(junk).size(), kEmptyLine.size() * 20)
      << "the next save is well formed";
}

TEST(ReadingHistory, ProgressIsShownInTenthsOfAPercent) {
  EXPECT_EQ(ProgressText(0.185f), u"18.5%");
  EXPECT_EQ(ProgressText(1.0f), u"100.0%");
  EXPECT_EQ(ProgressText(0.0f), u"0.0%");
  EXPECT_EQ(ProgressText(1.0f / 3), u"33.3%");
  // A damaged file's absurd values are shown within the range, never as garbage.
  EXPECT_EQ(ProgressText(1e30f), u"100.0%");
  EXPECT_EQ(ProgressText(-1e30f), u"0.0%");
  EXPECT_EQ(ProgressText(std::nanf("")), u"0.0%");
}

TEST(LastReadFile, HoldsThePathAndThePageOrNothing) {
  EXPECT_EQ(LastReadFileBytes({u"/书/a.txt", 12}),
            "\"/" + codepage::EncodeGb18030(u"书") + "/a.txt\",12\r\n");
  const auto read = ParseLastReadFile("\"/b.txt\",37\r\n");
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->Path, u"/b.txt");
  EXPECT_EQ(read->Page, 37);
  // A quote can slip into a path through text after the closing quote; it could not be written
  // back, so such a record is as good as none.
  for (const char* damaged : {"", "\"/b.txt\"", "\"/b.txt\",x", "/b.txt,3", "\"\",3",
                              "\x81\x30\xFF", "\"/a\"x\"y,3\r\n"}) {
    EXPECT_FALSE(ParseLastReadFile(damaged).has_value()) << damaged;
  }
}

TEST(LastReadFile, OnlyPathsTheLineCanHoldAreStored) {
  EXPECT_TRUE(IsStorablePath(u"/书/a b,c.txt"));
  EXPECT_FALSE(IsStorablePath(u"/书/\"引号\".txt"));
  EXPECT_FALSE(IsStorablePath(u"/书/两\n行.txt"));
}

}  // namespace
}  // namespace quillon
