// Big5 through a table generated from glibc's iconv "CP950" (tools/gen_big5), read the same way
// as GB18030: one lookup per two bytes, so a traditional book opens as fast as a simplified one.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/codepage.h"

#include "platform/append_decoded.h"
#include "platform/double_byte.h"

namespace quillon::codepage {

namespace {

#include "platform/big5_table.inc"

constexpr unsigned kLeads = 126;
constexpr unsigned kTrails = 157;
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kHanziFirst = 0x4E00;
constexpr char16_t kHanziLast = 0x9FFF;
constexpr unsigned kNoTrail = 0xFF;

// Position of a trail byte in a row of the table, or kNoTrail.
constexpr std::array<std::uint8_t, 256> MakeTrailIndex() {
  std::array<std::uint8_t, 256> index{};
  for (unsigned b = 0; b < 256; ++b) {
    if (b >= 0x40 && b <= 0x7E) {
      index[b] = static_cast<std::uint8_t>(b - 0x40);
    } else if (b >= 0xA1 && b <= 0xFE) {
      index[b] = static_cast<std::uint8_t>(b - 0xA1 + 0x3F);
    } else {
      index[b] = kNoTrail;
    }
  }
  return index;
}
constexpr std::array<std::uint8_t, 256> kTrailIndex = MakeTrailIndex();

// Every code by its two bytes read as one big-endian number, 0 where those bytes are not a mapped
// code (so also wherever the first is ASCII).
std::vector<char16_t> BuildPairs() {
  std::vector<char16_t> pairs(0x10000);
  for (unsigned lead = 0; lead < kLeads; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      if (kTrailIndex[trail] != kNoTrail) {
        pairs[(0x81 + lead) << 8 | trail] = kBig5TwoByte[lead * kTrails + kTrailIndex[trail]];
      }
    }
  }
  return pairs;
}

const char16_t* Pairs() {
  static const std::vector<char16_t> pairs = BuildPairs();
  return pairs.data();
}

// Damage, and the codes glibc leaves unmapped (the user-defined rows among them). A byte after a
// lead that cannot be a trail but may start something (ASCII, another lead) is read again, as in
// GB18030; 0x80 and 0xFF, which start nothing, go with the lead.
const unsigned char* DecodeUncommon(const unsigned char* p, const unsigned char* end,
                                    char16_t*& out) {
  *out++ = kReplacement;
  const unsigned lead = p[0];
  if (lead == 0x80 || lead == 0xFF || end - p < 2) return p + 1;
  const unsigned second = p[1];
  if (kTrailIndex[second] == kNoTrail && second != 0x80 && second != 0xFF) return p + 1;
  return p + 2;
}

constexpr std::size_t kEncodeBlock = 1024;

// The code of each BMP character, 0 where Big5 has none. Where several codes read as one
// character the lowest is written, except that 十 and 卅, which the symbol rows repeat as
// numerals, keep their codes among the hanzi, as glibc writes them.
std::vector<std::uint16_t> BuildCodes() {
  std::vector<std::uint16_t> codes(0x10000);
  for (unsigned lead = 0; lead < kLeads; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      if (kTrailIndex[trail] == kNoTrail) continue;
      const char16_t unit = kBig5TwoByte[lead * kTrails + kTrailIndex[trail]];
      if (unit == 0) continue;
      const auto code = static_cast<std::uint16_t>((0x81 + lead) << 8 | trail);
      const bool hanziOverSymbol =
          unit >= kHanziFirst && unit <= kHanziLast && codes[unit] < 0xA440 && code >= 0xA440;
      if (codes[unit] == 0 || hanziOverSymbol) codes[unit] = code;
    }
  }
  return codes;
}

const std::vector<std::uint16_t>& Codes() {
  static const std::vector<std::uint16_t> codes = BuildCodes();
  return codes;
}

}  // namespace

char16_t* DecodeBig5Into(std::string_view bytes, char16_t* out) {
  return DecodeDoubleByte(bytes, Pairs(), out, DecodeUncommon);
}

void AppendBig5(std::string_view bytes, std::u16string& out) {
  AppendDecoded(bytes, out, DecodeBig5Into);
}

std::u16string DecodeBig5(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  AppendBig5(bytes, out);
  return out;
}

std::string EncodeBig5(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const std::vector<std::uint16_t>* codes = nullptr;
  char buffer[kEncodeBlock * 2];
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t blockEnd = std::min(text.size(), i + kEncodeBlock);
    char* o = buffer;
    for (; i < blockEnd; ++i) {
      const char16_t unit = text[i];
      if (unit < 0x80) {
        *o++ = static_cast<char>(unit);
        continue;
      }
      // A character beyond the BMP is one character Big5 cannot carry: one '?'.
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF) {
        ++i;
      }
      if (codes == nullptr) codes = &Codes();
      const std::uint16_t code = (*codes)[unit];
      if (code == 0) {
        *o++ = '?';
      } else {
        *o++ = static_cast<char>(code >> 8);
        *o++ = static_cast<char>(code & 0xFF);
      }
    }
    out.append(buffer, static_cast<std::size_t>(o - buffer));
  }
  return out;
}

bool IsCommonHanzi(char16_t c) {
  if (c < kHanziFirst || c > kHanziLast) return false;
  const unsigned bit = c - kHanziFirst;
  return (kCommonHanzi[bit / 64] >> (bit % 64) & 1) != 0;
}

}  // namespace quillon::codepage
