// Which encoding a text is read in: whole novels in every encoding they come in, slices of them
// as short as eight characters, every GB2312 character alone in a file, and files that are not
// text at all.

#include "book/encoding_detect.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "platform/codepage.h"
#include "support/test_books.h"

namespace quillon {
namespace {

const char* Name(BookEncoding encoding) {
  switch (encoding) {
    case BookEncoding::Big5:
      return "Big5";
    case BookEncoding::Utf8:
      return "UTF-8";
    case BookEncoding::Utf16LE:
      return "UTF-16LE";
    case BookEncoding::Utf16BE:
      return "UTF-16BE";
    default:
      return "GB18030";
  }
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// The text in an encoding, with or without its byte-order mark; empty when Big5 cannot carry it.
std::string Encode(std::u16string_view text, BookEncoding encoding, bool mark) {
  switch (encoding) {
    case BookEncoding::Big5: {
      const std::string bytes = codepage::EncodeBig5(text);
      return codepage::DecodeBig5(bytes) == text ? bytes : std::string();
    }
    case BookEncoding::Utf8:
      return (mark ? "\xEF\xBB\xBF" : "") + codepage::EncodeUtf8(text);
    case BookEncoding::Utf16LE:
      return (mark ? "\xFF\xFE" : "") + Utf16Bytes(text, false);
    case BookEncoding::Utf16BE:
      return (mark ? "\xFE\xFF" : "") + Utf16Bytes(text, true);
    default:
      return codepage::EncodeGb18030(text);
  }
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::u16string TestBookText(const char* name) {
  return codepage::DecodeGb18030(fake::ReadTestBook(name));
}

// Every test novel in every encoding it could arrive in, read row for row as the original.
TEST(EncodingDetection, WholeBooksInEveryEncoding) {
  struct Case {
    const char* book;
    BookEncoding encoding;
    bool mark;
  };
  std::vector<Case> cases;
  for (const char* book : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    cases.push_back({book, BookEncoding::Gb18030, false});
    for (BookEncoding encoding :
         {BookEncoding::Utf8, BookEncoding::Utf16LE, BookEncoding::Utf16BE}) {
      cases.push_back({book, encoding, false});
      cases.push_back({book, encoding, true});
    }
  }
  cases.push_back({"rulinwaishi.gbk.txt", BookEncoding::Big5, false});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.book) + " in " + Name(c.encoding) + (c.mark ? " with a mark" : ""));
    const std::u16string text = TestBookText(c.book);
    std::string bytes = Encode(text, c.encoding, c.mark);
    if (c.encoding == BookEncoding::Big5) {
      // Big5 cannot carry every character GBK can; those few become what Big5 has for them.
      bytes = codepage::EncodeBig5(text);
    }
    const DetectedEncoding detected = DetectBookEncoding(bytes);
    EXPECT_EQ(Name(detected.Encoding), std::string(Name(c.encoding)));
    EXPECT_TRUE(detected.LooksLikeText);
    const BookText original = DecodeBook(bytes, c.encoding);
    const BookText read = DecodeBook(bytes);
    ASSERT_EQ(read.Count(), original.Count());
    for (std::int32_t i = 0; i < read.Count(); ++i) ASSERT_TRUE(read.Line(i) == original.Line(i));
  }
}

// Short texts: eight characters or more are always read right; fewer, in GB2312, always as
// GB18030, however their bytes happen to look in another encoding.
TEST(EncodingDetection, ShortTexts) {
  std::mt19937 random(15);
  std::size_t tried = 0;
  for (const char* book : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    const std::u16string text = TestBookText(book);
    for (int slice = 0; slice < 300; ++slice) {
      const std::size_t length = 8 + random() % 40;
      const std::size_t start = random() % (text.size() - length);
      const std::u16string piece = text.substr(start, length);
      // A slice of at least eight characters that are not ASCII or line ends.
      std::size_t chinese = 0;
      for (char16_t c : piece) chinese += c >= 0x80;
      if (chinese < 8) continue;
      for (BookEncoding encoding : {BookEncoding::Gb18030, BookEncoding::Big5, BookEncoding::Utf8,
                                    BookEncoding::Utf16LE, BookEncoding::Utf16BE}) {
        const std::string bytes = Encode(piece, encoding, false);
        if (bytes.empty()) continue;
        ++tried;
        EXPECT_EQ(Name(DetectBookEncoding(bytes).Encoding), std::string(Name(encoding)))
            << codepage::EncodeUtf8(piece);
      }
    }
  }
  EXPECT_GT(tried, 3000u);

  // Every GB2312 character alone, and runs of up to seven, are GB18030.
  std::vector<std::u16string> shortTexts;
  std::u16string run;
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string character = codepage::DecodeGb18030(code);
      if (character[0] < 0x4E00 || character[0] > 0x9FFF) continue;  // five empty codes
      shortTexts.push_back(character);
      run += character;
      if (run.size() == 1 + static_cast<std::size_t>((lead + trail) % 7)) {
        shortTexts.push_back(run);
        run.clear();
      }
    }
  }
  for (const std::u16string& text : {std::u16string(u"静夜思"), std::u16string(u"床前明月光"),
                                     std::u16string(u"第一回"), std::u16string(u"说")}) {
    shortTexts.push_back(text);
    shortTexts.push_back(text + u"\r\n");
  }
  std::size_t wrong = 0;
  for (const std::u16string& text : shortTexts) {
    const DetectedEncoding detected = DetectBookEncoding(codepage::EncodeGb18030(text));
    if (detected.Encoding != BookEncoding::Gb18030 || !detected.LooksLikeText) {
      if (++wrong <= 5) {
        ADD_FAILURE() << codepage::EncodeUtf8(text) << " (" << text.size()
                      << " characters) read as " << Name(detected.Encoding)
                      << (detected.LooksLikeText ? "" : ", not text");
      }
    }
  }
  EXPECT_EQ(wrong, 0u) << "of " << shortTexts.size() << " short GB2312 texts";
}

TEST(EncodingDetection, WhatIsNotTextIsToldAndPlainTextIsNot) {
  std::mt19937 random(16);
  std::string noise(1 << 20, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  const std::filesystem::path assets = std::filesystem::path(QUILLON_SOURCE_DIR) / "assets";
  struct Case {
    const char* what;
    std::string bytes;
    bool text;
  };
  const Case cases[] = {
      {"random bytes", noise, false},
      {"a PNG picture", FileBytes(assets / "Icosource" / "Quillon.png"), false},
      {"a JPEG picture", FileBytes(assets / "Configure" / "BK1.jpg"), false},
      {"plain ASCII", "Chapter 1\r\nIt was a dark night.\r\n", true},
      {"an empty file", "", true},
      {"a GBK book with a damaged byte",
       codepage::EncodeGb18030(u"第一回\r\n") + "\xFF" +
           codepage::EncodeGb18030(u"话说天下大势，分久必合。"),
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DetectBookEncoding(c.bytes).LooksLikeText, c.text);
  }
}

}  // namespace
}  // namespace quillon
