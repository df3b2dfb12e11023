#include "platform/itemfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

void PrintTo(const DateTime& value, std::ostream* out) {
  for (const char16_t c : FormatDateTime(value)) *out << static_cast<char>(c);
}

namespace itemfile {
namespace {

// Items as "text" or, for a quoted item, "q:text", so one vector compares text and Quoted.
std::vector<std::u16string> ReadAll(std::u16string_view text) {
  std::vector<std::u16string> items;
  ItemReader reader(text);
  while (!reader.AtEnd() && items.size() < 100) {
    const Item item = reader.Next();
    items.push_back(item.Quoted ? u"q:" + item.Text : item.Text);
  }
  return items;
}

Item Plain(std::u16string text) {
  return Item{std::move(text), false};
}
Item Quoted(std::u16string text) {
  return Item{std::move(text), true};
}

TEST(ItemReaderTest, SplitsItemsAsTheFilesAndBooksNeed) {
  struct Row {
    const char* catches;
    std::u16string input;
    std::vector<std::u16string> items;
  };
  const Row rows[] = {
      {"ASCII commas split", u"a,b,c", {u"a", u"b", u"c"}},
      {"a full-width comma is text, not a separator", u"甲，乙,丙", {u"甲，乙", u"丙"}},
      {"ASCII spaces before an item are dropped", u"  a,   b", {u"a", u"b"}},
      {"trailing spaces of an unquoted item stay", u"a  ,b ", {u"a  ", u"b "}},
      {"ideographic spaces and tabs are text", u"\u3000\t第一章", {u"\u3000\t第一章"}},
      {"an empty line is one empty item", u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {"a lone CR ends a line", u"a\rb", {u"a", u"b"}},
      {"a lone LF ends a line", u"a\nb", {u"a", u"b"}},
      {"CR LF is one line end, not two", u"a\r\nb\r\n", {u"a", u"b"}},
      {"LF CR is two line ends", u"a\n\rb", {u"a", u"", u"b"}},
      {"the line end of the last line adds no item", u"a\r\n", {u"a"}},
      {"a last line without line end still counts", u"a", {u"a"}},
      {"empty text has no item", u"", {}},
      {"a trailing blank line is an empty item", u"a\r\n\r\n", {u"a", u""}},
      {"a comma at the line end leaves an empty item", u"a,\r\nb", {u"a", u"", u"b"}},
      {"a line of spaces is one empty item", u"   \r\nb", {u"", u"b"}},
      {"commas inside quotes belong to the item", u"\"a,b\",c", {u"q:a,b", u"c"}},
      {"spaces before a quote are skipped, inside kept", u"  \" x \",y", {u"q: x ", u"y"}},
      {"text after the closing quote is kept", u"\"ab\"cd,e", {u"q:abcd", u"e"}},
      {"an unclosed quote runs to the line end only", u"\"ab,cd\r\nx", {u"q:ab,cd", u"x"}},
      {"a quote inside an item is plain text", u"a\"b,c\"", {u"a\"b", u"c\""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(ReadAll(row.input), row.items);
  }
}

TEST(ItemReaderTest, SpansPointIntoTheTextWithoutTheQuotes) {
  ItemReader reader(u"ab, cd\r\n\"ef\"gh,\"i\"");
  ItemSpan span = reader.NextSpan();
  EXPECT_EQ(span.Start, 0u);
  EXPECT_EQ(span.Length, 2u);
  EXPECT_EQ(span.TailLength, 0u);
  span = reader.NextSpan();
  EXPECT_EQ(span.Start, 4u) << "after the skipped space";
  EXPECT_EQ(span.Length, 2u);
  span = reader.NextSpan();
  EXPECT_TRUE(span.Quoted);
  EXPECT_EQ(span.Start, 9u);
  EXPECT_EQ(span.Length, 2u);
  EXPECT_EQ(span.TailStart, 12u);
  EXPECT_EQ(span.TailLength, 2u);
  EXPECT_EQ(reader.Next().Text, u"i");
  EXPECT_TRUE(reader.AtEnd());
  const Item past = reader.Next();
  EXPECT_TRUE(past.Text.empty());
  EXPECT_FALSE(past.Quoted);
}

TEST(ItemConversionTest, Integers) {
  struct Row {
    const char* catches;
    Item item;
    std::optional<std::int16_t> int16;
    std::optional<std::int32_t> int32;
  };
  const Row rows[] = {
      {"plain number", Plain(u"12"), 12, 12},
      {"surrounding spaces and a sign", Plain(u" -7 "), -7, -7},
      {"16-bit maximum", Plain(u"32767"), 32767, 32767},
      {"just past the 16-bit maximum", Plain(u"32768"), std::nullopt, 32768},
      {"16-bit minimum", Plain(u"-32768"), -32768, -32768},
      {"just past the 16-bit minimum", Plain(u"-32769"), std::nullopt, -32769},
      {"32-bit maximum", Plain(u"2147483647"), std::nullopt, 2147483647},
      {"just past the 32-bit maximum", Plain(u"2147483648"), std::nullopt, std::nullopt},
      {"32-bit minimum", Plain(u"-2147483648"), std::nullopt, INT32_MIN},
      {"many digits must not wrap around", Plain(u"18446744073709551617"), std::nullopt,
       std::nullopt},
      {"a half rounds down to even", Plain(u"10.5"), 10, 10},
      {"a half rounds up to even", Plain(u"11.5"), 12, 12},
      {"a negative half rounds to even", Plain(u"-2.5"), -2, -2},
      {"more than a half rounds up", Plain(u"2.5000001"), 3, 3},
      {"rounding can leave the range", Plain(u"32767.5"), std::nullopt, 32768},
      {"true is -1", Plain(u"#TRUE#"), -1, -1},
      {"false is 0", Plain(u"#FALSE#"), 0, 0},
      {"empty", Plain(u""), std::nullopt, std::nullopt},
      {"letters", Plain(u"abc"), std::nullopt, std::nullopt},
      {"trailing garbage", Plain(u"1x"), std::nullopt, std::nullopt},
      {"a space inside", Plain(u"1 2"), std::nullopt, std::nullopt},
      {"a quoted number is text", Quoted(u"12"), std::nullopt, std::nullopt},
      {"a quoted boolean is text", Quoted(u"#TRUE#"), std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(ToInt16(row.item), row.int16);
    EXPECT_EQ(ToInt32(row.item), row.int32);
  }
}

TEST(ItemConversionTest, Singles) {
  struct Row {
    const char* catches;
    Item item;
    std::optional<float> value;
  };
  const Row rows[] = {
      {"period as separator", Plain(u"10.5"), 10.5f},
      {"no digit before the point", Plain(u".5"), 0.5f},
      {"negative without a leading zero", Plain(u"-.25"), -0.25f},
      {"no digit after the point", Plain(u"5."), 5.0f},
      {"plus sign and spaces", Plain(u" +2 "), 2.0f},
      {"exponent with sign", Plain(u"1E+20"), 1e20f},
      {"the written form of 16777215", Plain(u"1.677722E+07"), 16777220.0f},
      {"true is -1", Plain(u"#TRUE#"), -1.0f},
      {"false is 0", Plain(u"#FALSE#"), 0.0f},
      {"too large for a float", Plain(u"3.5e38"), std::nullopt},
      {"too small for a float reads as zero", Plain(u"1e-50"), 0.0f},
      {"exponent without digits", Plain(u"1e"), std::nullopt},
      {"comma as separator", Plain(u"1,5"), std::nullopt},
      {"infinity is not a number here", Plain(u"inf"), std::nullopt},
      {"empty", Plain(u""), std::nullopt},
      {"a quoted number is text", Quoted(u"1"), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(ToSingle(row.item), row.value);
  }
}

TEST(ItemConversionTest, Booleans) {
  struct Row {
    const char* catches;
    Item item;
    std::optional<bool> value;
  };
  const Row rows[] = {
      {"true", Plain(u"#TRUE#"), true},
      {"false", Plain(u"#FALSE#"), false},
      {"zero", Plain(u"0"), false},
      {"minus one", Plain(u"-1"), true},
      {"a fraction is not zero", Plain(u".5"), true},
      {"a word is not a boolean", Plain(u"True"), std::nullopt},
      {"a quoted word is text", Quoted(u"True"), std::nullopt},
      {"a quoted marker is text", Quoted(u"#TRUE#"), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(ToBool(row.item), row.value);
  }
}

TEST(ItemConversionTest, DateTimes) {
  struct Row {
    const char* catches;
    Item item;
    std::optional<DateTime> value;
  };
  const Row rows[] = {
      {"date and time", Plain(u"#2024-02-29 13:05:09#"), DateTime{2024, 2, 29, 13, 5, 9}},
      {"a date alone is midnight", Plain(u"#2024-03-01#"), DateTime{2024, 3, 1, 0, 0, 0}},
      {"without number signs", Plain(u"2024-03-01 01:02:03"), DateTime{2024, 3, 1, 1, 2, 3}},
      {"the zero date", Plain(u"#1899-12-30#"), DateTime{}},
      {"no 29 February in 2023", Plain(u"#2023-02-29#"), std::nullopt},
      {"month 13", Plain(u"#2024-13-01#"), std::nullopt},
      {"hour 24", Plain(u"#2024-01-01 24:00:00#"), std::nullopt},
      {"an unbalanced number sign", Plain(u"#2024-01-01"), std::nullopt},
      {"trailing garbage", Plain(u"#2024-01-01 10:00:00x#"), std::nullopt},
      {"a quoted date is text", Quoted(u"2024-01-01"), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(ToDateTime(row.item), row.value);
  }
}

TEST(FormatSingleTest, WritesTheShortestFileForm) {
  const std::pair<float, std::u16string> rows[] = {
      {10.5f, u"10.5"},
      {9.0f, u"9"},      // no point for a whole number
      {100.0f, u"100"},  // zeros before the point are not trailing zeros
      {0.5f, u".5"},
      {0.185f, u".185"},
      {1.0f / 3, u".3333333"},  // seven significant digits
      {1234567.0f, u"1234567"},
      {0.0f, u"0"},
      {-0.0f, u"0"},
      {-0.25f, u"-.25"},
      {0.0001f, u".0001"},
      {16777215.0f, u"1.677722E+07"},  // exponent form: upper-case E, sign, two digits
      {1e10f, u"1E+10"},
      {1e-5f, u"1E-05"},
  };
  for (const auto& [value, expected] : rows) {
    SCOPED_TRACE(value);
    EXPECT_EQ(FormatSingle(value), expected);
  }
}

TEST(ItemWriterTest, WritesTheDefaultSettingsLineExactly) {
  ItemWriter writer;
  writer.WriteString(u"宋体");
  writer.WriteSingle(10.5f);
  writer.WriteInt(0);
  writer.WriteBool(false);
  writer.WriteBool(false);
  writer.WriteInt(16777215);
  writer.WriteBool(false);
  writer.WriteInt(0);
  writer.WriteBool(true);
  writer.WriteBool(true);
  writer.WriteBool(true);
  writer.WriteInt(0);
  writer.EndLine();
  EXPECT_EQ(writer.Text(),
            u"\"宋体\",10.5,0,#FALSE#,#FALSE#,16777215,#FALSE#,0,#TRUE#,#TRUE#,#TRUE#,0\r\n");
}

TEST(ItemWriterTest, DatesAtMidnightDropTheTime) {
  ItemWriter writer;
  writer.WriteDateTime(DateTime{2024, 3, 1, 0, 0, 0});
  writer.WriteDateTime(DateTime{2024, 3, 1, 0, 0, 1});
  writer.WriteInt(-42);
  EXPECT_EQ(writer.Text(), u"#2024-03-01#,#2024-03-01 00:00:01#,-42");
}

TEST(ItemWriterTest, EveryTypeReadsBackUnchanged) {
  const std::u16string strings[] = {u"宋体", u"𠀀鎔", u"a,b", u"  spaced  ", u"", u"#TRUE#", u"12"};
  const float singles[] = {10.5f, -0.25f, 0.185f, 1e20f, 0.0f};
  const std::int64_t ints[] = {0, -1, INT32_MAX, INT32_MIN, 16777215};
  const DateTime dates[] = {DateTime{}, DateTime{2024, 2, 29, 23, 59, 59},
                            DateTime{2024, 3, 1, 0, 0, 0}};

  ItemWriter writer;
  for (const auto& text : strings) writer.WriteString(text);
  writer.EndLine();
  for (const float value : singles) writer.WriteSingle(value);
  for (const std::int64_t value : ints) writer.WriteInt(value);
  writer.WriteBool(true);
  writer.WriteBool(false);
  writer.EndLine();
  for (const DateTime& value : dates) writer.WriteDateTime(value);
  writer.EndLine();

  ItemReader reader(writer.Text());
  for (const auto& text : strings) {
    const Item item = reader.Next();
    EXPECT_TRUE(item.Quoted);
    EXPECT_EQ(item.Text, text);
  }
  for (const float value : singles) EXPECT_EQ(ToSingle(reader.Next()), value);
  for (const std::int64_t value : ints) EXPECT_EQ(ToInt32(reader.Next()), value);
  EXPECT_EQ(ToBool(reader.Next()), true);
  EXPECT_EQ(ToBool(reader.Next()), false);
  for (const DateTime& value : dates) EXPECT_EQ(ToDateTime(reader.Next()), value);
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace itemfile
}  // namespace quillon
