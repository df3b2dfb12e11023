// Builds the GB18030 decoding tables from glibc's iconv, so the reader needs no iconv at run time
// and its mapping is exactly the one glibc has. Usage: quillon_gen_gb18030 > gb18030_table.inc
//
// It also checks every assumption the decoder and encoder make about the data and refuses to
// write a table if one fails, so a different C library cannot slip in a silently wrong table.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "iconv_tool/iconv_tool.h"

namespace {

using quillon_tools::Bytes;
using quillon_tools::Fail;
using quillon_tools::Iconv;

constexpr int kLeads = 126;                            // 0x81..0xFE
constexpr int kTrails = 190;                           // 0x40..0x7E and 0x80..0xFE
constexpr int kFourByteBmpEnd = 50400;                 // four-byte codes 0x81308130..0x8439FE39
constexpr std::uint32_t kSupplementaryStart = 189000;  // linear index of 0x90308130

std::string TwoByteCode(int pointer) {
  const int t = pointer % kTrails;
  return Bytes({0x81 + pointer / kTrails, t + (t < 0x3F ? 0x40 : 0x41)});
}

std::string FourByteCode(std::uint32_t linear) {
  return Bytes({static_cast<int>(0x81 + linear / 12600),
                static_cast<int>(0x30 + linear / 1260 % 10),
                static_cast<int>(0x81 + linear / 10 % 126), static_cast<int>(0x30 + linear % 10)});
}

// The single code point a GB18030 code decodes to, or 0 when glibc rejects it.
std::uint32_t DecodeOne(Iconv& decoder, const std::string& code) {
  const std::optional<std::string> out = decoder.Convert(code);
  if (!out) return 0;
  if (out->size() != 4) Fail("a code decoded to more than one character");
  std::uint32_t cp = 0;
  for (int i = 3; i >= 0; --i) cp = cp << 8 | static_cast<unsigned char>((*out)[i]);
  if (cp == 0) Fail("a multi-byte code decoded to U+0000");
  return cp;
}

std::string EncodeOne(Iconv& encoder, std::uint32_t cp) {
  std::string in;
  for (int i = 0; i < 4; ++i) in.push_back(static_cast<char>(cp >> (8 * i) & 0xFF));
  return encoder.Convert(in).value_or(std::string());
}

struct Range {
  int index;
  std::uint32_t codePoint;  // 0: the codes of this range are not valid
};

}  // namespace

int main() {
  Iconv decoder("UCS-4LE", "GB18030");
  Iconv encoder("GB18030", "UCS-4LE");

  for (int b = 1; b < 0x80; ++b) {
    if (DecodeOne(decoder, Bytes({b})) != static_cast<std::uint32_t>(b)) {
      Fail("ASCII does not decode as itself");
    }
  }

  // Two-byte codes. The few that glibc maps beyond the BMP go to a side list.
  std::vector<std::uint16_t> twoByte(kLeads * kTrails);
  std::vector<std::pair<int, std::uint32_t>> wide;
  std::vector<std::string> codeOf(0x10000);
  for (int pointer = 0; pointer < kLeads * kTrails; ++pointer) {
    const std::string code = TwoByteCode(pointer);
    const std::uint32_t cp = DecodeOne(decoder, code);
    if (cp == 0) Fail("a two-byte code is invalid, which the table cannot express");
    if (cp < 0x80) Fail("a two-byte code decodes to ASCII");
    if (cp >= 0xD800 && cp < 0xE000) Fail("a two-byte code decodes to a surrogate");
    if (cp > 0xFFFF) {
      wide.emplace_back(pointer, cp);
      continue;
    }
    if (!codeOf[cp].empty()) Fail("two two-byte codes share a character");
    codeOf[cp] = code;
    twoByte[pointer] = static_cast<std::uint16_t>(cp);
  }

  // Four-byte codes of the BMP, as runs of consecutive code points.
  std::vector<Range> ranges;
  for (int index = 0; index < kFourByteBmpEnd; ++index) {
    const std::string code = FourByteCode(index);
    const std::uint32_t cp = DecodeOne(decoder, code);
    if (cp > 0xFFFF) Fail("a four-byte BMP code decodes beyond the BMP");
    if (cp != 0) {
      if (!codeOf[cp].empty()) Fail("a BMP character has two codes");
      codeOf[cp] = code;
    }
    bool continues = false;
    if (!ranges.empty()) {
      const Range& last = ranges.back();
      continues = cp == 0 ? last.codePoint == 0
                          : last.codePoint != 0 && last.codePoint + (index - last.index) == cp;
    }
    if (!continues) ranges.push_back({index, cp});
  }

  // Beyond the BMP the decoder computes the code point; make sure glibc agrees.
  for (std::uint32_t cp = 0x10000; cp <= 0x10FFFF; ++cp) {
    if (DecodeOne(decoder, FourByteCode(kSupplementaryStart + cp - 0x10000)) != cp) {
      Fail("the four-byte codes beyond the BMP are not linear");
    }
  }
  if (DecodeOne(decoder, FourByteCode(kSupplementaryStart + 0x100000)) != 0) {
    Fail("a four-byte code past U+10FFFF is valid");
  }

  // The encoder writes the code found here, the two-byte one for the characters in `wide`, and
  // a computed four-byte code for the rest beyond the BMP.
  for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    if (EncodeOne(encoder, cp) != codeOf[cp]) Fail("glibc encodes a BMP character differently");
  }
  for (const auto& [pointer, cp] : wide) {
    if (EncodeOne(encoder, cp) != TwoByteCode(pointer)) {
      Fail("glibc writes a character beyond the BMP as four bytes although it has two");
    }
  }

  std::fputs(
      R"(// Generated by tools/gen_gb18030 from glibc iconv. Regenerate: quillon_gen_gb18030 > this file

// Two-byte codes by (lead - 0x81) * 190 + trail index, the trail index counting 0x40..0x7E
// then 0x80..0xFE. 0 marks a character beyond the BMP, found in kGbTwoByteWide.
)",
      stdout);
  std::printf("constexpr std::uint16_t kGbTwoByte[%d * %d] = {\n", kLeads, kTrails);
  for (int i = 0; i < kLeads * kTrails; ++i) {
    const char* separator = i % 12 == 11 || i + 1 == kLeads * kTrails ? ",\n" : ", ";
    std::printf("%s0x%04X%s", i % 12 == 0 ? "    " : "", twoByte[i], separator);
  }
  std::printf("};\n\n");

  std::fputs("// Two-byte codes of characters beyond the BMP: {pointer as above, code point}.\n",
             stdout);
  std::printf("constexpr GbTwoByteWide kGbTwoByteWide[] = {\n");
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char* separator = i % 3 == 2 || i + 1 == wide.size() ? ",\n" : ", ";
    std::printf("%s{0x%04X, 0x%05X}%s", i % 3 == 0 ? "    " : "", wide[i].first, wide[i].second,
                separator);
  }
  std::printf("};\n\n");

  std::fputs(
      R"(// Four-byte codes 0x81308130..0x8439FE39 by linear index, as runs of consecutive code
// points: {first index, its code point}. A run ends where the next begins, and code point
// 0 marks a run of codes that are not valid.
)",
      stdout);
  std::printf("constexpr GbFourByteRange kGbFourByteRanges[] = {\n");
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const char* separator = i % 5 == 4 || i + 1 == ranges.size() ? ",\n" : ", ";
    std::printf("%s{0x%04X, 0x%04X}%s", i % 5 == 0 ? "    " : "", ranges[i].index,
                ranges[i].codePoint, separator);
  }
  std::printf("};\n");
  return 0;
}
