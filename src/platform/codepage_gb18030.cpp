// GB18030 through tables generated from glibc's iconv (tools/gen_gb18030), so the mapping is
// glibc's exactly while reading a large book stays well ahead of iconv itself.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/codepage.h"

#include "platform/append_decoded.h"
#include "platform/double_byte.h"

namespace quillon::codepage {

namespace {

struct GbTwoByteWide {
  std::uint16_t pointer;
  char32_t codePoint;
};

struct GbFourByteRange {
  std::uint16_t index;
  std::uint16_t codePoint;
};

#include "platform/gb18030_table.inc"

constexpr unsigned kLeads = 126;
constexpr unsigned kTrails = 190;
constexpr std::uint32_t kFourByteBmpEnd = 50400;       // linear index just past 0x8439FE39
constexpr std::uint32_t kSupplementaryStart = 189000;  // linear index of 0x90308130
constexpr std::uint32_t kSupplementaryEnd = kSupplementaryStart + 0x100000;
constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned kNoTrail = 0xFF;

// Position of a trail byte in a row of the two-byte table, or kNoTrail.
constexpr std::array<std::uint8_t, 256> MakeTrailIndex() {
  std::array<std::uint8_t, 256> index{};
  for (unsigned b = 0; b < 256; ++b) {
    if (b >= 0x40 && b <= 0x7E) {
      index[b] = static_cast<std::uint8_t>(b - 0x40);
    } else if (b >= 0x80 && b <= 0xFE) {
      index[b] = static_cast<std::uint8_t>(b - 0x41);
    } else {
      index[b] = kNoTrail;
    }
  }
  return index;
}
constexpr std::array<std::uint8_t, 256> kTrailIndex = MakeTrailIndex();

inline bool IsDigit(unsigned b) {
  return b - 0x30 < 10;
}

inline void Put(char32_t cp, char16_t*& out) {
  if (cp < 0x10000) {
    *out++ = static_cast<char16_t>(cp);
  } else {
    *out++ = static_cast<char16_t>(0xD7C0 + (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// 0 when the code is not valid; no four-byte code stands for U+0000.
char32_t FourByteCodePoint(std::uint32_t linear) {
  if (linear < kFourByteBmpEnd) {
    const GbFourByteRange* next = std::upper_bound(
        std::begin(kGbFourByteRanges), std::end(kGbFourByteRanges), linear,
        [](std::uint32_t value, const GbFourByteRange& r) { return value < r.index; });
    const GbFourByteRange& range = next[-1];
    return range.codePoint == 0 ? 0 : range.codePoint + (linear - range.index);
  }
  if (linear >= kSupplementaryStart && linear < kSupplementaryEnd) {
    return 0x10000 + (linear - kSupplementaryStart);
  }
  return 0;
}

// Everything the two-byte fast path leaves: the lone 0x80, four-byte codes, the few two-byte
// codes beyond the BMP, and damage. Damage follows the web's gb18030 decoder: one U+FFFD per bad
// sequence, and a byte that may start something else (ASCII after a lead, or the digit and the
// next byte of a broken four-byte code) is read again; a cut-off sequence at the end is one U+FFFD.
const unsigned char* DecodeUncommon(const unsigned char* p, const unsigned char* end,
                                    char16_t*& out) {
  const unsigned lead = p[0];
  if (lead == 0x80) {
    *out++ = 0x20AC;
    return p + 1;
  }
  if (lead == 0xFF || end - p < 2) {
    *out++ = kReplacement;
    return p + 1;
  }
  const unsigned second = p[1];
  if (IsDigit(second)) {
    if (end - p < 3) {
      *out++ = kReplacement;
      return end;
    }
    const unsigned third = p[2];
    if (third < 0x81 || third > 0xFE) {
      *out++ = kReplacement;
      return p + 1;
    }
    if (end - p < 4) {
      *out++ = kReplacement;
      return end;
    }
    const unsigned fourth = p[3];
    if (!IsDigit(fourth)) {
      *out++ = kReplacement;
      return p + 1;
    }
    const std::uint32_t linear =
        (((lead - 0x81) * 10 + (second - 0x30)) * 126 + (third - 0x81)) * 10 + (fourth - 0x30);
    const char32_t cp = FourByteCodePoint(linear);
    Put(cp != 0 ? cp : kReplacement, out);
    return p + 4;
  }
  const unsigned trail = kTrailIndex[second];
  if (trail != kNoTrail) {
    const unsigned pointer = (lead - 0x81) * kTrails + trail;
    for (const GbTwoByteWide& wide : kGbTwoByteWide) {
      if (wide.pointer == pointer) {
        Put(wide.codePoint, out);
        return p + 2;
      }
    }
  }
  *out++ = kReplacement;
  return second < 0x80 ? p + 1 : p + 2;
}

// Every two-byte code by its two bytes read as one big-endian number, 0 where those bytes are
// not a two-byte code of the BMP (so also wherever the first is ASCII). One lookup and one test
// per character in the common case.
std::vector<char16_t> BuildPairs() {
  std::vector<char16_t> pairs(0x10000);
  for (unsigned lead = 0; lead < kLeads; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      if (kTrailIndex[trail] != kNoTrail) {
        pairs[(0x81 + lead) << 8 | trail] = kGbTwoByte[lead * kTrails + kTrailIndex[trail]];
      }
    }
  }
  return pairs;
}

const char16_t* Pairs() {
  static const std::vector<char16_t> pairs = BuildPairs();
  return pairs.data();
}

constexpr std::size_t kEncodeBlock = 1024;  // UTF-16 units, at most four bytes each

// Codes packed big-endian into one number: 0xLLTT for two bytes, 0xB1B2B3B4 (always above
// 0xFFFF) for four.
std::uint32_t PackTwoByte(unsigned pointer) {
  const unsigned trail = pointer % kTrails;
  return (0x81 + pointer / kTrails) << 8 | (trail + (trail < 0x3F ? 0x40 : 0x41));
}

std::uint32_t PackFourByte(std::uint32_t linear) {
  return (0x81 + linear / 12600) << 24 | (0x30 + linear / 1260 % 10) << 16 |
         (0x81 + linear / 10 % 126) << 8 | (0x30 + linear % 10);
}

inline void PutPacked(std::uint32_t code, char*& out) {
  if (code > 0xFFFF) {
    *out++ = static_cast<char>(code >> 24);
    *out++ = static_cast<char>(code >> 16 & 0xFF);
  }
  *out++ = static_cast<char>(code >> 8 & 0xFF);
  *out++ = static_cast<char>(code & 0xFF);
}

// The packed code of each BMP code point, or 0 where glibc has none: surrogates, and the
// private-use points whose characters glibc gave real code points instead.
std::vector<std::uint32_t> BuildBmpCodes() {
  std::vector<std::uint32_t> codes(0x10000);
  const std::size_t rangeCount = std::size(kGbFourByteRanges);
  for (std::size_t i = 0; i < rangeCount; ++i) {
    const GbFourByteRange& range = kGbFourByteRanges[i];
    if (range.codePoint == 0) continue;
    const std::uint32_t last =
        i + 1 < rangeCount ? kGbFourByteRanges[i + 1].index : kFourByteBmpEnd;
    for (std::uint32_t linear = range.index; linear < last; ++linear) {
      codes[range.codePoint + (linear - range.index)] = PackFourByte(linear);
    }
  }
  for (unsigned pointer = 0; pointer < kLeads * kTrails; ++pointer) {
    if (kGbTwoByte[pointer] != 0) codes[kGbTwoByte[pointer]] = PackTwoByte(pointer);
  }
  return codes;
}

const std::vector<std::uint32_t>& BmpCodes() {
  static const std::vector<std::uint32_t> codes = BuildBmpCodes();
  return codes;
}

std::uint32_t SupplementaryCode(char32_t cp) {
  for (const GbTwoByteWide& wide : kGbTwoByteWide) {
    if (wide.codePoint == cp) return PackTwoByte(wide.pointer);
  }
  return PackFourByte(kSupplementaryStart + (cp - 0x10000));
}

}  // namespace

char16_t* DecodeGb18030Into(std::string_view bytes, char16_t* out) {
  return DecodeDoubleByte(bytes, Pairs(), out, DecodeUncommon);
}

void AppendGb18030(std::string_view bytes, std::u16string& out) {
  AppendDecoded(bytes, out, DecodeGb18030Into);
}

std::u16string DecodeGb18030(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  AppendGb18030(bytes, out);
  return out;
}

std::string EncodeGb18030(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const std::vector<std::uint32_t>* bmpCodes = nullptr;
  char buffer[kEncodeBlock * 4];
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t blockEnd = std::min(text.size(), i + kEncodeBlock);
    char* o = buffer;
    for (; i < blockEnd; ++i) {
      const char16_t unit = text[i];
      if (unit < 0x80) {
        *o++ = static_cast<char>(unit);
        continue;
      }
      if (unit >= 0xD800 && unit <= 0xDFFF) {
        if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
          PutPacked(SupplementaryCode(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00)),
                    o);
          ++i;
        } else {
          *o++ = '?';
        }
        continue;
      }
      // Pure ASCII text never pays for building the table.
      if (bmpCodes == nullptr) bmpCodes = &BmpCodes();
      const std::uint32_t code = (*bmpCodes)[unit];
      if (code == 0) {
        *o++ = '?';
      } else if (code <= 0xFFFF) {  // the common case, kept out of PutPacked's test
        *o++ = static_cast<char>(code >> 8);
        *o++ = static_cast<char>(code & 0xFF);
      } else {
        PutPacked(code, o);
      }
    }
    out.append(buffer, static_cast<std::size_t>(o - buffer));
  }
  return out;
}

}  // namespace quillon::codepage
