#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "platform/codepage.h"

namespace quillon::codepage {
namespace {

// glibc's converter is the reference: the table was generated from it.
std::optional<char16_t> DecodeWithIconv(const std::string& code) {
  iconv_t cd = iconv_open("UTF-16LE", "CP950");
  char out[8];
  char* inPtr = const_cast<char*>(code.data());
  std::size_t inLeft = code.size();
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok || outLeft != sizeof out - 2) return std::nullopt;
  char16_t unit;
  std::memcpy(&unit, out, 2);
  return unit;
}

// Held in a buffer of exactly their size, so the sanitizer build sees any read past the end.
std::u16string DecodeExact(const std::string& bytes) {
  const std::unique_ptr<char[]> exact(new char[bytes.size()]);
  std::memcpy(exact.get(), bytes.data(), bytes.size());
  return DecodeBig5(std::string_view(exact.get(), bytes.size()));
}

TEST(Big5Decode, ReadsCharactersAndRecoversFromDamage) {
  struct Row {
    const char* catches;
    std::string bytes;
    std::u16string expected;
  };
  const Row rows[] = {
      {"ASCII as itself", "a 1\r\n", u"a 1\r\n"},
      {"common characters among ASCII", "\xA4\x40x\xA5\x4C", u"一x他"},
      {"a letter after a lead is its trail byte", "\xA4\x51", u"十"},
      {"the Windows extensions: hanzi, box drawing, euro", "\xF9\xD6\xF9\xF9\xA3\xE1", u"碁═€"},
      {"glibc's private-use row after the frequent hanzi", "\xC6\xA1", u"\uF6B1"},
      {"ASCII after a lead is read again", "\xA4,\xA4\x40", u"\uFFFD,一"},
      {"a line break after a lead is read again", "\xA4\r\n", u"\uFFFD\r\n"},
      {"0x7F after a lead is ASCII too", "\xA4\x7F", u"\uFFFD\x7F"},
      {"a user-defined lead after a lead is read again", "\xA4\x81\x40", u"\uFFFD\uFFFD"},
      {"0x80 after a lead goes with it", "\xA4\x80\xA4\x40", u"\uFFFD一"},
      {"0xFF after a lead goes with it", "\xA4\xFF\xA4\x40", u"\uFFFD一"},
      {"lead cut off at the end", "\xA4\x40\xA4", u"一\uFFFD"},
      {"lone 0x80 and 0xFF", "a\x80z\xFF", u"a\uFFFDz\uFFFD"},
      {"unmapped code in the symbol rows", "\xA3\xC0\xA4\x40", u"\uFFFD一"},
      {"an unmapped code takes its letter trail with it", "\xFA\x41z", u"\uFFFDz"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(DecodeExact(row.bytes), row.expected);
  }
}

// Every code glibc knows reads as glibc reads it, also decoded in one run whose odd start puts
// codes across the decoder's blocks, and writes back as itself unless another code of the same
// character is preferred.
TEST(Big5RoundTrip, EveryCodeReadsAsGlibcAndWritesBack) {
  std::string all = "a";
  std::u16string expected = u"a";
  int sharedCodes = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail > 0x7E && trail < 0xA1) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::optional<char16_t> reference = DecodeWithIconv(code);
      const std::u16string text = DecodeBig5(code);
      all += code;
      expected += text;
      if (!reference) {
        ASSERT_EQ(text, u"\uFFFD") << std::hex << lead << ' ' << trail;
        continue;
      }
      ASSERT_EQ(text, std::u16string(1, *reference)) << std::hex << lead << ' ' << trail;
      const std::string back = EncodeBig5(text);
      if (back != code) {
        ++sharedCodes;
        EXPECT_EQ(DecodeBig5(back), text) << std::hex << lead << ' ' << trail;
      }
    }
  }
  EXPECT_TRUE(DecodeBig5(all) == expected);
  // Eight box-drawing characters and 十 卅 have a second code; the symbol-row numerals give way.
  EXPECT_EQ(sharedCodes, 10);
  EXPECT_EQ(EncodeBig5(u"十卅═a\U00020000\xD800"),
            "\xA4\x51\xA4\xCA\xA2\xA4"
            "a??");

  for (char16_t common : std::u16string_view(u"的一是們說")) EXPECT_TRUE(IsCommonHanzi(common));
  EXPECT_FALSE(IsCommonHanzi(u'亍'));
  EXPECT_FALSE(IsCommonHanzi(u'a'));
}

}  // namespace
}  // namespace quillon::codepage
