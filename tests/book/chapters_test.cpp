// The chapter list: which lines are headings, how a table of contents and a repeated heading are
// left out, and the whole test novels.

#include "book/chapters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/book_file.h"
#include "platform/codepage.h"
#include "support/test_books.h"

namespace quillon {
namespace {

BookText BookOf(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line + u"\r\n";
  return BookText::FromText(text);
}

std::vector<std::int32_t> LinesOf(const std::vector<Chapter>& chapters) {
  std::vector<std::int32_t> lines;
  for (const Chapter& chapter : chapters) lines.push_back(chapter.Line);
  return lines;
}

// Headings as novels write them, and sentences that begin as they do, each as a line of its own.
TEST(Chapters, WhichLinesAreHeadings) {
  struct Case {
    const char* catches;
    std::u16string line;
    std::u16string title;  // as listed; empty: not a heading
  };
  const std::u16string longLine =
      u"第五章 他们走了很久很久才到那座山下的小村子里去找那个老人问路然后又继续往前走去了吧";
  const Case cases[] = {
      // Headings.
      {"a title after two ASCII spaces", u"第一回  甄士隐梦幻识通灵　贾雨村风尘怀闺秀",
       u"第一回  甄士隐梦幻识通灵　贾雨村风尘怀闺秀"},
      {"a number written digit by digit", u"第一零一回  大观园月夜感幽魂",
       u"第一零一回  大观园月夜感幽魂"},
      {"a leftover prefix left off the title", u"《》目录 第一回　灵根育孕源流出　心性修持大道生",
       u"第一回　灵根育孕源流出　心性修持大道生"},
      {"an indent and a tab trimmed, a colon before the title", u"　　第十二章：风起\t",
       u"第十二章：风起"},
      {"ASCII digits, no title", u"第12节", u"第12节"},
      {"full-width digits", u"第１２章 归来", u"第１２章 归来"},
      {"financial numerals", u"第壹佰零贰回", u"第壹佰零贰回"},
      {"traditional numerals and part word", u"第貳拾節　舊事", u"第貳拾節　舊事"},
      {"两, 廿 and 〇", u"第两百〇一卷", u"第两百〇一卷"},
      {"a title right after the part word", u"第廿一回賈寶玉", u"第廿一回賈寶玉"},
      {"a title run on from the part word, unindented", u"第九章还乡", u"第九章还乡"},
      {"a title may ask", u"第五章 什么？", u"第五章 什么？"},
      {"an indented title may exclaim", u"　　第八章 决战！", u"第八章 决战！"},
      {"an indented heading with a title", u"　　第七回 两地相思", u"第七回 两地相思"},
      {"an indented bare heading", u"    第三十章", u"第三十章"},
      {"chapter zero", u"第〇章 引", u"第〇章 引"},
      {"a long number", u"第一千二百三十四章 终局", u"第一千二百三十四章 终局"},
      {"spaces around the number", u"第 3 章 重逢", u"第 3 章 重逢"},
      {"a space before the part word", u"第3 章", u"第3 章"},
      {"a part of a book, not a word", u"第一部分 总论", u"第一部分 总论"},
      {"an episode", u"第三集", u"第三集"},
      {"a volume", u"第二卷 风云再起", u"第二卷 风云再起"},
      {"brackets in the title", u"第十二章：陌生人（上）", u"第十二章：陌生人（上）"},
      {"a named part alone", u"楔子", u"楔子"},
      {"a named part with a title", u"序　风起之时", u"序　风起之时"},
      {"an afterword", u"后记", u"后记"},
      {"a numbered extra", u"番外三 旧事", u"番外三 旧事"},
      {"an English heading with a roman number", u"CHAPTER XII The Return",
       u"CHAPTER XII The Return"},
      {"an English heading with digits", u"Chapter 3", u"Chapter 3"},
      {"a number in words", u"Chapter One", u"Chapter One"},
      {"a hyphened number in capitals", u"CHAPTER TWENTY-ONE: The Storm",
       u"CHAPTER TWENTY-ONE: The Storm"},
      {"a number of three words", u"Chapter one hundred and five", u"Chapter one hundred and five"},
      {"brackets left off", u"【第五章】逃离", u"第五章 逃离"},
      {"brackets around the whole heading", u"【第十章 重逢】", u"第十章 重逢"},
      {"正文 left off", u"正文 第一章 开始", u"第一章 开始"},
      {"spaces far past a heading's length",
       u"　　第十三章 远行" + std::u16string(60, u' ') + u"\t", u"第十三章 远行"},
      // Sentences.
      {"a round of a game, indented", u"　　第二回合开始了！", u""},
      {"a lesson, indented", u"　　第三节课是数学课", u""},
      {"an indented sentence that asks", u"　　第四集我没看过？", u""},
      {"a film", u"　　第五部电影上映了", u""},
      {"an article, ending in an ellipsis", u"　　第六篇文章写得不错……", u""},
      {"a chapter the subject of a sentence", u"第三章是他最喜欢的一章", u""},
      {"a round, then a clause", u"第五回合，他终于赢了", u""},
      {"an army", u"第八集团军开进了城", u""},
      {"a lesson, unindented", u"第十节课下课了", u""},
      {"a carriage", u"第一节车厢里挤满了人", u""},
      {"a troop, indented", u"　　第十二部队的战士们冲了上去", u""},
      {"a camp", u"第六集中营的故事", u""},
      {"an exam paper", u"第二卷子发下来了", u""},
      {"a paper", u"第七篇论文终于发表了", u""},
      {"a chapter's contents", u"第一章的内容我忘了", u""},
      {"a chapter, then 了", u"第二回了，他还是没来", u""},
      {"an indented sentence run on from the part word", u"　　第三回他终于见到了她", u""},
      {"an indented sentence with a clause", u"　　第九章写得最好，大家都这么说", u""},
      {"in a chapter", u"　　第四章里写到的那座山", u""},
      {"not a part word after the number", u"第一次见面的时候他还很小", u""},
      {"a day, not a chapter", u"第二日，母親同他到間壁秦老家", u""},
      {"a sentence that begins with a chapter", u"第四回中说的是这件事。", u""},
      {"a full stop inside", u"第三回完．又说宝玉", u""},
      {"a clause that goes on", u"第三回里他又来了，", u""},
      {"a chapter named inside a sentence", u"此开卷第一回也", u""},
      {"a named part running on into prose", u"前言少述且说当下芳官回至怡红院中", u""},
      {"an overture", u"序幕拉开了", u""},
      {"an epilogue spoken of", u"尾声部分写得仓促", u""},
      {"someone speaking of a chapter", u"“第三章呢？”", u""},
      {"too long for a heading", longLine, u""},
      {"a number too long to be a chapter's", u"第一二三四五六七八九十一回", u""},
      {"an English word that only begins with chapter", u"Chapters of history", u""},
      {"roman letters that run on into a word", u"Chapter Ivy", u""},
      {"an English sentence", u"Chapter one of the book was dull.", u""},
      {"a prefix too long to be a leftover", u"…………………………第一章", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    const BookText book = BookOf({c.line});
    const std::vector<Chapter> chapters = FindChapters(book);
    if (c.title.empty()) {
      EXPECT_TRUE(chapters.empty());
    } else {
      ASSERT_EQ(chapters.size(), 1u);
      EXPECT_EQ(ChapterTitle(book, chapters[0]), c.title);
      EXPECT_EQ(chapters[0].Line, 0);
    }
  }
}

TEST(Chapters, ContentsAndRepeatsAreListedOnce) {
  const std::u16string paragraph(300, u'文');
  struct Case {
    const char* catches;
    std::vector<std::u16string> lines;
    std::vector<std::int32_t> chapters;
  };
  const Case cases[] = {
      {"a table of contents points at the body",
       {u"目录", u"第一章　　甲", u"第二章　　乙", u"第三章　　丙", u"", u"第一章 甲", u"文。",
        u"第二章 乙", u"文。", u"第三章 丙", u"文。"},
       {5, 7, 9}},
      {"a list is matched by number, whatever the titles say",
       {u"第一回 甲", u"第二回 乙", u"第三回 丙", u"第1回 甲之一", u"文。", u"第2回", u"文。",
        u"第3回", u"文。"},
       {3, 5, 7}},
      {"two entries are matched by their titles, however padded",
       {u"第一章　　起", u"第二章　　终", u"第一章 起", u"文。", u"第二章 终", u"文。"},
       {2, 4}},
      {"a chapter over its first section is no contents entry of a later volume",
       {u"第一卷", u"第一章", u"第一节", u"文。", u"第二卷", u"文。", u"第一章", u"文。"},
       {0, 1, 2, 4, 6}},
      {"short chapters are kept", {u"第一章 起", u"一句。", u"第二章 承", u"一句。"}, {0, 2}},
      {"lines of spaces are no text, long paragraphs are",
       {u"第一章　　甲", u"　　", u"第二章　　乙", u"　　", u"第三章　　丙", u"第一章 甲",
        paragraph, u"第二章 乙", paragraph, u"第三章 丙", paragraph},
       {5, 7, 9}},
      {"a book of headings alone keeps them", {u"第一章", u"第二章", u"第三章"}, {0, 1, 2}},
      {"a bare heading gives way to the same one with text",
       {u"第一章", u"", u"第一章 开始", u"文。"},
       {2}},
      {"a list's last entry over the author's name",
       {u"目录", u"第1章 标题1", u"第2章 标题2", u"第3章 标题3", u"第4章 标题4", u"作者：某某",
        u"第1章 标题1", u"文。", u"第2章 标题2", u"文。", u"第3章 标题3", u"文。", u"第4章 标题4",
        u"文。"},
       {6, 8, 10, 12}},
      {"a list's last entry over a blank line and 正文",
       {u"目录", u"第1章 标题1", u"第2章 标题2", u"第3章 标题3", u"第4章 标题4", u"", u"正文",
        u"第1章 标题1", paragraph, u"第2章 标题2", paragraph, u"第3章 标题3", paragraph,
        u"第4章 标题4", paragraph},
       {7, 9, 11, 13}},
      {"a line under three short chapters is no list's end",
       {u"第一章", u"第二章", u"第三章", u"完。", u"第四章", u"文。"},
       {0, 1, 2, 4}},
      {"one bare heading many times over is one chapter",
       {u"第1章", u"第1章", u"第1章", u"第1章", u"第1章"},
       {4}},
      {"repeats of a bare heading count towards a list",
       {u"第一章", u"第一章", u"第二章", u"第一章 甲", u"文。", u"第二章 乙", u"文。"},
       {3, 5}},
      {"a repeat inside a chapter's text is dropped",
       {u"第一一九回  中乡魁", u"回目录", u"第一一九回中乡魁宝玉却尘缘", u"文。", u"第一二零回",
        u"文。"},
       {0, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    EXPECT_EQ(LinesOf(FindChapters(BookOf(c.lines))), c.chapters);
  }
}

TEST(Chapters, TheTestNovels) {
  struct Case {
    const char* name;
    std::size_t count;
    std::u16string first;
    std::int32_t firstFileLine;  // 1-based, as an editor shows it
    std::u16string last;
  };
  const Case cases[] = {
      {"hongloumeng.gbk.txt", 120, u"第一回  甄士隐梦幻识通灵　贾雨村风尘怀闺秀", 4,
       u"第一二零回  甄士隐详说太虚情　贾雨村归结红楼梦"},
      {"xiyouji.gbk.txt", 100, u"第一回　灵根育孕源流出　心性修持大道生", 2,
       u"第一百回　径回东土　五圣成真"},
      {"rulinwaishi.gbk.txt", 55, u"第一回　說楔子敷陳大義　借名流隱括全文", 61,
       u"第五十五回　添四客述往思來　彈一曲高山流水"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<BookText> book =
        ReadBookFile(codepage::DecodeUtf8((fake::TestBooksDir() / c.name).string())).Text;
    ASSERT_TRUE(book.has_value());
    const std::vector<Chapter> chapters = FindChapters(*book);
    ASSERT_EQ(chapters.size(), c.count);
    EXPECT_EQ(ChapterTitle(*book, chapters.front()), c.first);
    EXPECT_EQ(book->FileLineOf(chapters.front().Line) + 1, c.firstFileLine);
    EXPECT_EQ(ChapterTitle(*book, chapters.back()), c.last);
    for (std::size_t i = 1; i < chapters.size(); ++i) {
      ASSERT_LT(chapters[i - 1].Line, chapters[i].Line);
    }
    EXPECT_EQ(ChapterAt(chapters, chapters.front().Line - 1), -1);
    EXPECT_EQ(ChapterAt(chapters, chapters.front().Line), 0);
    EXPECT_EQ(ChapterAt(chapters, chapters[1].Line - 1), 0);
    EXPECT_EQ(ChapterAt(chapters, book->Count() - 1), static_cast<std::int32_t>(c.count) - 1);
  }
  // 第一零四回 splits its lines at 395 ASCII commas; the chapters after it are still reported at
  // the file's lines.
  const std::optional<BookText> book =
      ReadBookFile(codepage::DecodeUtf8((fake::TestBooksDir() / "hongloumeng.gbk.txt").string()))
          .Text;
  ASSERT_TRUE(book.has_value());
  const std::vector<Chapter> chapters = FindChapters(*book);
  ASSERT_EQ(chapters.size(), 120u);
  EXPECT_EQ(ChapterTitle(*book, chapters[104]), u"第一零五回  锦衣军查抄宁国府　骢马使弹劾平安州");
  EXPECT_GT(chapters[104].Line, 5073);
  EXPECT_EQ(book->FileLineOf(chapters[104].Line) + 1, 5074);
  EXPECT_EQ(book->FileLineOf(chapters[119].Line) + 1, 5544);
}

}  // namespace
}  // namespace quillon
