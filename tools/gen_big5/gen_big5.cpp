// Builds the Big5 decoding table and the common-hanzi set from glibc's iconv, so the reader needs
// no iconv at run time and reads Big5 exactly as glibc's "CP950" does.
// Usage: quillon_gen_big5 > big5_table.inc
//
// It refuses to write a table when any of these assumptions about glibc's data fails:
// - ASCII bytes read as themselves, and no byte 0x81..0xFF is a character on its own;
// - a two-byte code is a lead 0x81..0xFE and a trail 0x40..0x7E or 0xA1..0xFE: glibc reads
//   nothing else after a lead, so the table holds every two-byte character there is;
// - each code reads as one character of the BMP, neither ASCII, a surrogate nor U+FFFD, so one
//   UTF-16 unit per entry is enough and 0 can mark an unmapped code;
// - GB2312 rows 16-55 hold the 3755 level-1 hanzi, Big5 0xA440..0xC67E the 5401 frequently used
//   ones, all within U+4E00..U+9FFF where the common-hanzi set lies;
// - glibc writes each character with the code the reader's encoder picks (see PreferredCode), and
//   writes nothing for a character no code reads as, except U+0080 (glibc's lone 0x80).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "iconv_tool/iconv_tool.h"

namespace {

using quillon_tools::Bytes;
using quillon_tools::DecodeOne;
using quillon_tools::EncodeOne;
using quillon_tools::Fail;
using quillon_tools::Iconv;

constexpr int kLeads = 126;   // 0x81..0xFE
constexpr int kTrails = 157;  // 0x40..0x7E and 0xA1..0xFE
constexpr std::uint32_t kHanziFirst = 0x4E00;
constexpr std::uint32_t kHanziLast = 0x9FFF;
constexpr int kHanziWords = (kHanziLast - kHanziFirst + 1) / 64;

bool IsTrail(int b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

int TrailIndex(int b) {
  return b <= 0x7E ? b - 0x40 : b - 0xA1 + 0x3F;
}

// The reader's encoder writes the lowest code of a character, except that 十 and 卅, which the
// symbol rows repeat as numerals, are written with their codes among the hanzi.
bool Prefers(int code, int other, std::uint32_t cp) {
  const bool ideograph = cp >= kHanziFirst && cp <= kHanziLast;
  if (ideograph && (code >= 0xA440) != (other >= 0xA440)) return code >= 0xA440;
  return code < other;
}

void MarkCommon(std::vector<std::uint64_t>& words, std::uint32_t cp, const char* list) {
  if (cp < kHanziFirst || cp > kHanziLast) {
    Fail(std::string("a character of the ") + list + " list lies outside U+4E00..U+9FFF");
  }
  const std::uint32_t bit = cp - kHanziFirst;
  words[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

}  // namespace

int main() {
  Iconv decoder("UCS-4LE", "CP950");
  Iconv encoder("CP950", "UCS-4LE");
  Iconv gb2312("UCS-4LE", "GB2312");

  for (int b = 1; b < 0x80; ++b) {
    if (DecodeOne(decoder, Bytes({b})) != static_cast<std::uint32_t>(b)) {
      Fail("ASCII does not decode as itself");
    }
  }
  for (int b = 0x81; b <= 0xFF; ++b) {
    if (DecodeOne(decoder, Bytes({b})) != 0) Fail("a byte above 0x80 is a character alone");
  }

  std::vector<std::uint16_t> twoByte(kLeads * kTrails);
  std::vector<int> codeOf(0x10000);
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0; trail < 0x100; ++trail) {
      const int code = lead << 8 | trail;
      const std::uint32_t cp = DecodeOne(decoder, Bytes({lead, trail}));
      if (!IsTrail(trail)) {
        if (cp != 0) Fail("glibc reads a code whose trail byte the table has no room for");
        continue;
      }
      if (cp == 0) continue;
      if (cp < 0x80) Fail("a two-byte code decodes to ASCII");
      if (cp > 0xFFFF) Fail("a two-byte code decodes beyond the BMP");
      if (cp >= 0xD800 && cp < 0xE000) Fail("a two-byte code decodes to a surrogate");
      if (cp == 0xFFFD) Fail("a two-byte code decodes to U+FFFD");
      twoByte[(lead - 0x81) * kTrails + TrailIndex(trail)] = static_cast<std::uint16_t>(cp);
      if (codeOf[cp] == 0 || Prefers(code, codeOf[cp], cp)) codeOf[cp] = code;
    }
  }

  for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    const std::string written = EncodeOne(encoder, cp);
    const std::string expected = codeOf[cp] != 0 ? Bytes({codeOf[cp] >> 8, codeOf[cp] & 0xFF})
                                                 : (cp == 0x80 ? Bytes({0x80}) : std::string());
    if (written != expected) Fail("glibc writes a character with another code than the reader");
  }

  std::vector<std::uint64_t> common(kHanziWords);
  int gbCount = 0;
  for (int row = 0xB0; row <= 0xD7; ++row) {
    for (int cell = 0xA1; cell <= 0xFE; ++cell) {
      const std::uint32_t cp = DecodeOne(gb2312, Bytes({row, cell}));
      if (cp == 0) continue;
      MarkCommon(common, cp, "GB2312 level-1");
      ++gbCount;
    }
  }
  if (gbCount != 3755) Fail("GB2312 rows 16-55 do not hold the 3755 level-1 hanzi");
  int big5Count = 0;
  for (int code = 0xA440; code <= 0xC67E; ++code) {
    if (!IsTrail(code & 0xFF)) continue;
    const std::uint32_t cp = twoByte[((code >> 8) - 0x81) * kTrails + TrailIndex(code & 0xFF)];
    if (cp == 0) Fail("a code among the frequently used Big5 hanzi is unmapped");
    MarkCommon(common, cp, "Big5 frequently used");
    ++big5Count;
  }
  if (big5Count != 5401) Fail("Big5 0xA440..0xC67E does not hold the 5401 frequently used hanzi");

  std::fputs(
      R"(// Generated by tools/gen_big5 from glibc iconv. Regenerate: quillon_gen_big5 > this file

// Two-byte codes by (lead - 0x81) * 157 + trail index, the trail index counting 0x40..0x7E
// then 0xA1..0xFE. 0 marks a code glibc does not map.
)",
      stdout);
  std::printf("constexpr std::uint16_t kBig5TwoByte[%d * %d] = {\n", kLeads, kTrails);
  for (int i = 0; i < kLeads * kTrails; ++i) {
    const char* separator = i % 12 == 11 || i + 1 == kLeads * kTrails ? ",\n" : ", ";
    std::printf("%s0x%04X%s", i % 12 == 0 ? "    " : "", twoByte[i], separator);
  }
  std::printf("};\n\n");

  std::fputs(
      R"(// The GB2312 level-1 hanzi and the frequently used Big5 hanzi, one bit per code point from
// U+4E00, lowest bit first.
)",
      stdout);
  std::printf("constexpr std::uint64_t kCommonHanzi[%d] = {\n", kHanziWords);
  for (int i = 0; i < kHanziWords; ++i) {
    const char* separator = i % 4 == 3 || i + 1 == kHanziWords ? ",\n" : ", ";
    std::printf("%s0x%016llX%s", i % 4 == 0 ? "    " : "",
                static_cast<unsigned long long>(common[i]), separator);
  }
  std::printf("};\n");
  return 0;
}
