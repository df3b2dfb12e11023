#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "support/test_books.h"

namespace quillon::codepage {
namespace {

// glibc's converter is the reference: the tables were generated from it.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() { iconv_close(cd_); }

  std::optional<std::string> Convert(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string s;
  for (unsigned v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string FourByteCode(std::uint32_t linear) {
  return Bytes({0x81 + linear / 12600, 0x30 + linear / 1260 % 10, 0x81 + linear / 10 % 126,
                0x30 + linear % 10});
}

std::vector<std::string> AllTwoByteCodes() {
  std::vector<std::string> codes;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) codes.push_back(Bytes({lead, trail}));
    }
  }
  return codes;
}

std::u32string ToUtf32(std::u16string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    out.push_back(c);
  }
  return out;
}

std::u16string Utf16Of(char32_t cp) {
  if (cp < 0x10000) return std::u16string(1, static_cast<char16_t>(cp));
  return {static_cast<char16_t>(0xD7C0 + (cp >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

// iconv's UTF-16LE is the in-memory form on the little-endian machines the reader runs on.
std::u16string Utf16FromIconv(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

std::string_view BytesOf(const std::u16string& text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * 2};
}

// Each code alone through iconv (U+FFFD where glibc rejects it) against all codes decoded in one
// run, which also shows that every invalid code costs exactly one U+FFFD and nothing behind it.
void ExpectDecodesAsIconv(const std::vector<std::string>& codes) {
  Iconv glibc("UTF-16LE", "GB18030");
  std::string all;
  std::u32string expected;
  for (const std::string& code : codes) {
    all += code;
    const std::optional<std::string> one = glibc.Convert(code);
    expected += one ? ToUtf32(Utf16FromIconv(*one)) : U"\uFFFD";
  }
  const std::u32string actual = ToUtf32(DecodeGb18030(all));
  ASSERT_EQ(actual.size(), expected.size());
  int reported = 0;
  for (std::size_t i = 0; i < codes.size() && reported < 10; ++i) {
    if (actual[i] != expected[i]) {
      ++reported;
      ADD_FAILURE() << "code #" << i << ": got U+" << std::hex << actual[i] << ", glibc U+"
                    << expected[i];
    }
  }
}

TEST(Gb18030Decode, MatchesIconvOnAsciiAndEveryTwoByteCode) {
  std::vector<std::string> codes;
  for (unsigned b = 0; b < 0x80; ++b) codes.push_back(Bytes({b}));
  const std::vector<std::string> twoByte = AllTwoByteCodes();
  codes.insert(codes.end(), twoByte.begin(), twoByte.end());
  ExpectDecodesAsIconv(codes);
}

TEST(Gb18030Decode, MatchesIconvOnEveryFourByteCodeOfTheBmpArea) {
  std::vector<std::string> codes;
  for (std::uint32_t linear = 0; linear < 50400; ++linear) codes.push_back(FourByteCode(linear));
  ExpectDecodesAsIconv(codes);
}

TEST(Gb18030Decode, MatchesIconvBeyondTheBmp) {
  // Between the BMP area and 0x90308130, and past U+10FFFF, no code is valid.
  std::vector<std::string> codes = {FourByteCode(50400), FourByteCode(188999),
                                    Bytes({0xE3, 0x32, 0x9A, 0x36}),
                                    Bytes({0xFE, 0x39, 0xFE, 0x39})};
  for (std::uint32_t cp = 0x10000; cp <= 0x10FFFF; cp += 17) {
    codes.push_back(FourByteCode(189000 + cp - 0x10000));
  }
  codes.push_back(FourByteCode(189000 + 0x10FFFF - 0x10000));
  ExpectDecodesAsIconv(codes);
}

TEST(Gb18030Decode, HandlesLoneEuroAndDamage) {
  struct Row {
    const char* catches;
    std::string bytes;
    std::u16string expected;
  };
  const Row rows[] = {
      {"lone 0x80 is the euro sign", "a\x80z", u"a\u20ACz"},
      {"0x80 after a lead is a trail byte", "\x81\x80", u"\u4E90"},
      {"0xFF is never a lead", "\xFF\xD6\xD0", u"\uFFFD中"},
      {"ASCII after a lead is kept", "\xB0,\xD6\xD0", u"\uFFFD,中"},
      {"yet a letter after a lead is its trail byte", "\xB0\x41", u"\u7646"},
      {"a line break after a lead is kept", "\xA1\r\n\xD6\xD0", u"\uFFFD\r\n中"},
      {"0x7F after a lead is ASCII too", "\xB0\x7F", u"\uFFFD\x7F"},
      {"0xFF after a lead goes with it", "\xB0\xFF\xD6\xD0", u"\uFFFD中"},
      {"cut-off two-byte code at the end", "\xD6\xD0\xB0", u"中\uFFFD"},
      {"cut-off four-byte code, two bytes", "\x81\x30", u"\uFFFD"},
      {"cut-off four-byte code, three bytes", "\x81\x30\x81", u"\uFFFD"},
      {"bad third byte re-reads the digit", "\x81\x30z", u"\uFFFD0z"},
      {"bad fourth byte re-reads digit and third", "\x81\x30\x81\x41", u"\uFFFD0\u4E04"},
      {"hole glibc leaves in the BMP area", "\x82\x35\x90\x37\xD6\xD0", u"\uFFFD中"},
      {"four-byte code past U+FFFF's", "\x84\x31\xA5\x30\xD6\xD0", u"\uFFFD中"},
      {"four-byte code past U+10FFFF", "\xE3\x32\x9A\x36\xD6\xD0", u"\uFFFD中"},
      {"two-byte code beyond the BMP", "\xFE\x51", u"\U00020087"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(DecodeGb18030(row.bytes), row.expected);
  }
}

TEST(Gb18030Decode, AppendKeepsTextAndSequencesAcrossItsBlocks) {
  std::u16string out = u"前";
  AppendGb18030("\xD6\xD0", out);
  EXPECT_EQ(out, u"前中");

  // Every kind of sequence at every phase against any internal boundary of a long input.
  const std::string pattern = "\x81\x30\x81\x30\xD6\xD0x\x90\x30\x81\x30\xFE\x51";
  Iconv glibc("UTF-16LE", "GB18030");
  for (std::size_t shift = 0; shift < pattern.size(); ++shift) {
    SCOPED_TRACE(shift);
    std::string text(shift, 'a');
    while (text.size() < 200000) text += pattern;
    EXPECT_TRUE(DecodeGb18030(text) == Utf16FromIconv(*glibc.Convert(text)));
  }
  EXPECT_EQ(DecodeGb18030(std::string(70000, 'a') + "\x81\x30\x81").substr(70000), u"\uFFFD");
}

TEST(Gb18030Encode, WritesWhatIconvWritesAndReadsBack) {
  Iconv glibc("GB18030", "UTF-16LE");
  int unwritable = 0;
  // The whole BMP, a sample beyond it, and the six that glibc writes in two bytes.
  std::vector<char32_t> codePoints = {0x20087, 0x20089, 0x200CC, 0x215D7, 0x2298F, 0x241FE};
  for (char32_t cp = 0; cp <= 0x10FFFF; cp += cp < 0x10000 ? 1 : 13) {
    if (cp < 0xD800 || cp > 0xDFFF) codePoints.push_back(cp);
  }
  for (char32_t cp : codePoints) {
    const std::u16string text = Utf16Of(cp);
    const std::optional<std::string> reference = glibc.Convert(BytesOf(text));
    const std::string bytes = EncodeGb18030(text);
    if (!reference) {
      ++unwritable;
      EXPECT_EQ(bytes, "?") << std::hex << "U+" << cp;
      continue;
    }
    ASSERT_EQ(bytes, *reference) << std::hex << "U+" << cp;
    ASSERT_EQ(DecodeGb18030(bytes), text) << std::hex << "U+" << cp;
  }
  // Private-use points whose characters glibc moved to real code points.
  EXPECT_EQ(unwritable, 24);
}

TEST(Gb18030Encode, HandlesSurrogatesAndEdgeCases) {
  struct Row {
    const char* catches;
    std::u16string text;
    std::string expected;
  };
  const Row rows[] = {
      {"ASCII as itself", u"a\r\n", "a\r\n"},
      {"euro sign in two bytes, not 0x80", u"\u20AC", "\xA2\xE3"},
      {"two-byte code beyond the BMP", u"\U00020087", "\xFE\x51"},
      {"lone high surrogate at the end", u"中\xD800", "\xD6\xD0?"},
      {"lone high surrogate before text", u"\xD800z", "?z"},
      {"lone low surrogate", u"\xDC00中", "?\xD6\xD0"},
      {"surrogates in the wrong order", u"\xDC00\xD800", "??"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(EncodeGb18030(row.text), row.expected);
  }
}

TEST(Gb18030RoundTrip, EveryValidCodeComesBackAsItsBytes) {
  std::vector<std::string> codes = AllTwoByteCodes();
  for (std::uint32_t linear = 0; linear < 39420; ++linear) codes.push_back(FourByteCode(linear));
  for (std::uint32_t linear = 189000; linear < 189000 + 0x100000; linear += 7) {
    codes.push_back(FourByteCode(linear));
  }
  for (const std::string& code : codes) {
    const std::u16string text = DecodeGb18030(code);
    if (text == u"\uFFFD") continue;  // the holes in the BMP area
    // glibc reads six characters both from a four-byte and a two-byte code; it writes two bytes.
    const std::string back = EncodeGb18030(text);
    if (code.size() == 4 && back.size() == 2) {
      EXPECT_EQ(DecodeGb18030(back), text);
      continue;
    }
    ASSERT_EQ(back, code) << "U+" << std::hex << ToUtf32(text)[0];
  }
}

TEST(Gb18030Books, DecodeCleanlyAndWriteBackTheSameBytes) {
  Iconv glibc("UTF-16LE", "GB18030");
  bool sawExtensionHeavyBook = false;
  ASSERT_TRUE(std::filesystem::is_directory(fake::TestBooksDir()))
      << "the test books are expected in " << fake::TestBooksDir();
  for (const auto& entry : std::filesystem::directory_iterator(fake::TestBooksDir())) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 8 || name.compare(name.size() - 8, 8, ".gbk.txt") != 0) continue;
    SCOPED_TRACE(name);
    sawExtensionHeavyBook |= name == "rulinwaishi.gbk.txt";
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const std::u16string text = DecodeGb18030(bytes);
    EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_TRUE(text == Utf16FromIconv(glibc.Convert(bytes).value_or("")));
    EXPECT_TRUE(EncodeGb18030(text) == bytes);
  }
  EXPECT_TRUE(sawExtensionHeavyBook);
}

// Bytes that end right after a run of two-byte characters, held in a buffer of exactly their size
// (the sanitizer build sees a read past it).
TEST(Gb18030Decode, StopsAtTheLastByteOfARunOfPairs) {
  const std::u16string text = u"话说天下大势分久必合合久必分";
  for (std::size_t characters = 1; characters <= text.size(); ++characters) {
    SCOPED_TRACE(characters);
    const std::string encoded = EncodeGb18030(text.substr(0, characters));
    const std::unique_ptr<char[]> exact(new char[encoded.size()]);
    std::memcpy(exact.get(), encoded.data(), encoded.size());
    EXPECT_EQ(DecodeGb18030(std::string_view(exact.get(), encoded.size())),
              text.substr(0, characters));
  }
}

}  // namespace
}  // namespace quillon::codepage
