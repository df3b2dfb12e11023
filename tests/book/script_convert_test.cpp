// Books in the other script: phrases converted as the dictionaries say, the length of every line
// kept so rows never move, and a huge paragraph converted a piece at a time within a bound.

#include "book/script_convert.h"

#include <gtest/gtest.h>

#include "book/book_rows.h"

namespace quillon {
namespace {

TEST(ScriptConvert, PhrasesConvertAndLengthsStay) {
  const auto toTraditional = ScriptConverter::Open(ScriptConversion::ToTraditional);
  const auto toSimplified = ScriptConverter::Open(ScriptConversion::ToSimplified);
  ASSERT_NE(toTraditional, nullptr) << "the dictionaries are installed with the library";
  ASSERT_NE(toSimplified, nullptr);
  EXPECT_EQ(ScriptConverter::Open(ScriptConversion::None), nullptr);
  EXPECT_EQ(toTraditional->Convert(u"头发干净，皇后发了财"), u"頭髮乾淨，皇后發了財");
  EXPECT_EQ(toSimplified->Convert(u"頭髮乾淨，皇后後來"), u"头发干净，皇后后来");
  for (const std::u16string& text : {std::u16string(u"儒林外史　第一回"),
                                     std::u16string(u"𠀀丟了，ABC１２３"), std::u16string()}) {
    EXPECT_EQ(toSimplified->ConvertInPlace(text).size(), text.size());
    EXPECT_EQ(toTraditional->ConvertInPlace(text).size(), text.size());
  }
  for (ScriptConversion conversion :
       {ScriptConversion::ToSimplified, ScriptConversion::ToTraditional}) {
    EXPECT_EQ(ScriptConversionNamed(ScriptConversionName(conversion)), conversion);
  }
  EXPECT_EQ(ScriptConversionNamed(u"x2y"), std::nullopt);
}

// A paragraph of a million characters: any span of it, read as shown, is the span of the whole
// converted (the pieces end where no phrase goes on), and what is kept stays within its bound.
TEST(ScriptConvert, AHugeParagraphIsConvertedAPieceAtATime) {
  std::u16string paragraph;
  while (paragraph.size() < 1'000'000) paragraph += u"他的頭髮乾淨了，後來皇后說：「這裏是書。」";
  const BookText book = BookText::FromText(u"第一回\r\n" + paragraph + u"\r\n");
  auto converter = ScriptConverter::Open(ScriptConversion::ToSimplified);
  ASSERT_NE(converter, nullptr);
  const std::u16string whole = converter->Convert(book.Line(1));
  ASSERT_EQ(whole.size(), paragraph.size());
  ConvertedBook shown(std::move(converter));
  EXPECT_EQ(shown.Line(book, 0), u"第一回");
  for (const std::int32_t offset : {0, 1, 511, 512, 513, 300'000, 999'000}) {
    for (const std::int32_t length : {1, 41, 1'000, 5'000}) {
      SCOPED_TRACE(::testing::Message() << offset << " + " << length);
      EXPECT_EQ(shown.Span(book, 1, offset, length),
                whole.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
    }
  }
  EXPECT_LE(shown.KeptUnits(), ConvertedBook::kKeptUnits);
  EXPECT_EQ(shown.Span(book, 1, static_cast<std::int32_t>(paragraph.size()) - 2, 10), u"。」");
  EXPECT_TRUE(shown.Span(book, 2, 0, 3).empty());
}

}  // namespace
}  // namespace quillon
