// The marks readers leave in books: stored per book in book order, read back whatever the path,
// other books' marks untouched, and damaged lines costing only themselves.

#include "records/bookmarks.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "records/book_scripts.h"

namespace quillon {
namespace {

TEST(Bookmarks, RoundTripPerBookInBookOrder) {
  const DateTime morning{2026, 12, 7, 8, 30, 0}, night{2026, 12, 7, 23, 5, 9};
  const std::u16string red = u"/书库/红楼梦.txt", rare = u"/书库/𠀀,逗号.txt";
  std::string file;
  file = WithBookmarks(file, red, {{{300, 12}, night}, {{2, 0}, morning}});
  file = WithBookmarks(file, rare, {{{7, 7}, morning}});
  EXPECT_EQ(BookmarksOf(file, red), (std::vector<Bookmark>{{{2, 0}, morning}, {{300, 12}, night}}))
      << "in book order, whatever order they were made in";
  EXPECT_EQ(BookmarksOf(file, rare), (std::vector<Bookmark>{{{7, 7}, morning}}));
  EXPECT_TRUE(BookmarksOf(file, u"/书库/西游记.txt").empty());

  // One book's marks change; the other's stay, where they were in the file.
  const std::string changed = WithBookmarks(file, red, {{{2, 0}, morning}});
  EXPECT_EQ(BookmarksOf(changed, red), (std::vector<Bookmark>{{{2, 0}, morning}}));
  EXPECT_EQ(BookmarksOf(changed, rare), BookmarksOf(file, rare));
  EXPECT_EQ(WithBookmarks(changed, red, {}),
            WithBookmarks(std::string(), rare, {{{7, 7}, morning}}))
      << "a book without marks has no line";
  EXPECT_EQ(file.rfind("\"" + codepage::EncodeGb18030(red) + "\",2,0,#2026-12-07 08:30:00#\r\n", 0),
            0u);

  // Damaged lines are skipped without their neighbours and dropped at the next write.
  const std::string damaged = "\"/a.txt\",1\r\n\"/a.txt\",x,1,#2026-01-01#\r\n\"/a.txt\",-1,0," +
                              std::string("#2026-01-01#\r\nnot a line\r\n\"/a.txt\",1,2,3\r\n") +
                              file;
  EXPECT_TRUE(BookmarksOf(damaged, u"/a.txt").empty());
  EXPECT_EQ(BookmarksOf(damaged, red), BookmarksOf(file, red));
  EXPECT_EQ(WithBookmarks(damaged, u"/b.txt", {}), file);
}

TEST(Bookmarks, TheScriptChosenForABookRoundTrips) {
  std::string file = WithChosenScript("", u"/书库/儒林外史.txt", ScriptConversion::ToSimplified);
  file = WithChosenScript(file, u"/书库/红楼梦.txt", ScriptConversion::ToTraditional);
  EXPECT_EQ(ChosenScript(file, u"/书库/儒林外史.txt"), ScriptConversion::ToSimplified);
  EXPECT_EQ(ChosenScript(file, u"/书库/红楼梦.txt"), ScriptConversion::ToTraditional);
  file = WithChosenScript(file, u"/书库/儒林外史.txt", ScriptConversion::None);
  EXPECT_EQ(ChosenScript(file, u"/书库/儒林外史.txt"), ScriptConversion::None);
  EXPECT_EQ(ChosenScript(file + "\"/a.txt\",\"x2y\"\r\n", u"/a.txt"), ScriptConversion::None);
  EXPECT_EQ(file, "\"/\xCA\xE9\xBF\xE2/\xBA\xEC\xC2\xA5\xC3\xCE.txt\",\"s2t\"\r\n");
}

}  // namespace
}  // namespace quillon
