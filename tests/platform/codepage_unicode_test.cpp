#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

namespace quillon::codepage {
namespace {

using namespace std::string_literals;

TEST(Utf8Test, DecodesValidText) {
  struct Row {
    const char* catches;
    std::string bytes;
    std::u16string text;
  };
  const Row rows[] = {
      {"three-byte characters", "\xE4\xB8\xAD\xE6\x96\x87", u"中文"},
      {"two-byte characters", "\xC2\xA9\xC3\xA9", u"\u00A9\u00E9"},
      {"a supplementary character becomes a surrogate pair", "\xF0\xA0\x80\x80", u"\xD840\xDC00"},
      {"the highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"the last BMP character", "\xEF\xBF\xBF", u"\xFFFF"},
      {"a byte-order mark is left to the caller",
       "\xEF\xBB\xBF"
       "a",
       u"\xFEFF"
       "a"},
      {"a NUL byte is a character", "a\0b"s, u"a\0b"s},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(DecodeUtf8(row.bytes), row.text);
  }
}

TEST(Utf8Test, ReplacesEachMaximalInvalidSubpart) {
  constexpr char16_t R = 0xFFFD;
  struct Row {
    const char* catches;
    std::string bytes;
    std::u16string text;
  };
  const Row rows[] = {
      {"a stray continuation byte",
       "a\x80"
       "b",
       {u'a', R, u'b'}},
      {"two stray continuation bytes", "\xBF\x80", {R, R}},
      {"C0 and C1 never start a character", "\xC0\xAF\xC1\xBF", {R, R, R, R}},
      {"an overlong three-byte form", "\xE0\x80\xAF", {R, R, R}},
      {"an overlong four-byte form", "\xF0\x80\x80\xAF", {R, R, R, R}},
      {"an encoded surrogate", "\xED\xA0\x80", {R, R, R}},
      {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
      {"F5 and above never start a character", "\xF5\x80\xFF", {R, R, R}},
      {"a truncated sequence at the end is one replacement", "a\xE4\xB8", {u'a', R}},
      {"a truncated four-byte sequence before text",
       "\xF0\x9F\x98"
       "A",
       {R, u'A'}},
      {"a lead byte interrupted by another lead byte", "\xE4\xE4\xB8\xAD", {R, u'中'}},
      {"the mixed example of the Unicode standard",
       "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       {u'a', R, R, R, u'b', R, u'c', R, R, u'd'}},
      {"an invalid byte right after a run of ASCII",
       "abcdefgh\x80ijklmnop",
       {u'a', u'b', u'c', u'd', u'e', u'f', u'g', u'h', R, u'i', u'j', u'k', u'l', u'm', u'n', u'o',
        u'p'}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(DecodeUtf8(row.bytes), row.text);
  }
}

TEST(Utf8Test, LongMixedTextSurvivesBothWays) {
  // Long enough to cross every internal buffer at every alignment of the mixed widths.
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += u"中a𠀀©bcdefghij";
  const std::string bytes = EncodeUtf8(text);
  EXPECT_EQ(DecodeUtf8(bytes), text);

  std::u16string appended = u"前";
  AppendUtf8(bytes, appended);
  EXPECT_EQ(appended, u"前" + text);
}

TEST(Utf8Test, EncodesSurrogates) {
  struct Row {
    const char* catches;
    std::u16string text;
    std::string bytes;
  };
  const Row rows[] = {
      {"a surrogate pair is one four-byte character", u"𠀀", "\xF0\xA0\x80\x80"},
      {"a lone high surrogate", u"\xD800", "\xEF\xBF\xBD"},
      {"a lone low surrogate",
       u"\xDC00"
       "a",
       "\xEF\xBF\xBD"
       "a"},
      {"a high surrogate before a non-surrogate",
       u"\xD800"
       "a",
       "\xEF\xBF\xBD"
       "a"},
      {"two high surrogates", u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
      {"widths at their limits", u"\u007F\u0080\u07FF\u0800\uFFFF",
       "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(EncodeUtf8(row.text), row.bytes);
  }
}

TEST(Utf16Test, DecodesBothByteOrders) {
  struct Row {
    const char* catches;
    std::string bytes;
    bool bigEndian;
    std::u16string text;
  };
  const Row rows[] = {
      {"little endian",
       "\x2D\x4E"
       "a\0"s,
       false, u"中a"},
      {"big endian", "\x4E\x2D\0a"s, true, u"中a"},
      {"an odd last byte", "a\0b"s, false, u"a\xFFFD"},
      {"a lone surrogate is kept", "\x00\xD8"s, false, u"\xD800"},
      {"empty", "", false, u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(DecodeUtf16(row.bytes, row.bigEndian), row.text);
  }
}

}  // namespace
}  // namespace quillon::codepage
