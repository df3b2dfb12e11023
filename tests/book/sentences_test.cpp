// Sentences to read aloud: where one ends, what closes it, how a long one is cut, what is passed
// over, and the first one that begins on a page.

#include "book/sentences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// The sentences of a book, as text, from its start.
std::vector<std::u16string> SentencesOf(const std::u16string& text) {
  const BookText book = BookText::FromText(text);
  std::vector<std::u16string> said;
  for (std::optional<Sentence> sentence = SentenceFrom(book, {}); sentence;
       sentence = SentenceAfter(book, *sentence)) {
    said.emplace_back(book.Line(sentence->Line)
                          .substr(static_cast<std::size_t>(sentence->Offset),
                                  static_cast<std::size_t>(sentence->Length)));
  }
  return said;
}

TEST(Sentences, EndWhereTheTextSaysAndPassOverNothingToSay) {
  struct Case {
    const char* catches;
    std::u16string text;
    std::vector<std::u16string> sentences;
  };
  const Case cases[] = {
      {"the marks that end a sentence",
       u"他来了。你好！是谁？罢了；且听下回……分解",
       {u"他来了。", u"你好！", u"是谁？", u"罢了；", u"且听下回……", u"分解"}},
      {"closing quotes and brackets go with the end they follow",
       u"他道：“去罢。”众人笑了。（完。）又一句",
       {u"他道：“去罢。”", u"众人笑了。", u"（完。）", u"又一句"}},
      {"marks in a row stay together", u"什么？！好。", {u"什么？！", u"好。"}},
      {"a line's end ends a sentence", u"第一回　开篇\r\n正文", {u"第一回　开篇", u"正文"}},
      {"the indent is not read", u"　　话说天下大势。", {u"话说天下大势。"}},
      {"blank lines and lines of punctuation only are passed over",
       u"一。\r\n\r\n……\r\n　　　\r\n“”\r\n二。",
       {u"一。", u"二。"}},
      {"the full stop of some books", u"宝玉笑道．好．", {u"宝玉笑道．", u"好．"}},
      {"a comma does not end one", u"一，二，三。", {u"一，二，三。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    EXPECT_EQ(SentencesOf(c.text), c.sentences);
  }

  // A paragraph of 5,000 characters with commas and no end: cut after its last comma within 200
  // characters each time; the pieces give the paragraph back whole.
  std::u16string paragraph;
  while (paragraph.size() < 5000) paragraph += u"天下大势分久必合合久必分，";
  const std::vector<std::u16string> pieces = SentencesOf(paragraph);
  std::u16string joined;
  for (const std::u16string& piece : pieces) {
    EXPECT_LE(piece.size(), static_cast<std::size_t>(kLongestSentence));
    EXPECT_EQ(piece.back(), u'，');
    joined += piece;
  }
  EXPECT_EQ(joined, paragraph);
  // Without a comma it is cut at 200, and a character of two units stays whole.
  const std::u16string noComma =
      u"一" + std::u16string(198, u'字') + u"𠀀" + std::u16string(50, u'字');
  const std::vector<std::u16string> cut = SentencesOf(noComma);
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].size(), 201u);
  EXPECT_EQ(cut[0] + cut[1], noComma);
}

TEST(Sentences, TheFirstToBeginAtAPlaceOrAfter) {
  const BookText book = BookText::FromText(u"他来了。你好！\r\n\r\n……\r\n再见。");
  const auto at = [&book](BookPlace place) { return SentenceFrom(book, place); };
  EXPECT_EQ(at({0, 0}), (Sentence{0, 0, 4}));
  EXPECT_EQ(at({0, 2}), (Sentence{0, 4, 3})) << "in the middle of one: the next";
  EXPECT_EQ(at({0, 4}), (Sentence{0, 4, 3})) << "at one's start: that one";
  EXPECT_EQ(at({0, 7}), (Sentence{3, 0, 3}))
      << "past the line's end, over lines with nothing to say";
  EXPECT_EQ(at({1, 0}), (Sentence{3, 0, 3}));
  EXPECT_EQ(at({3, 1}), std::nullopt);
  EXPECT_EQ(at({9, 0}), std::nullopt);
  EXPECT_EQ(SentenceAfter(book, Sentence{3, 0, 3}), std::nullopt);
}

}  // namespace
}  // namespace quillon
