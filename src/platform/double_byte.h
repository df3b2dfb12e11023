#pragma once
// The decoding loop GB18030 and Big5 share: a table of every two-byte code read as one number,
// ASCII eight bytes at a time, and the encoding's own rule for everything else.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillon::codepage {

// `pairs` holds the character of each two-byte code by its bytes read big-endian, 0 where they
// are not a code; `uncommon(p, end, out)` decodes one sequence the table does not hold and
// returns where the next one starts.
template <typename Uncommon>
char16_t* DecodeDoubleByte(std::string_view bytes, const char16_t* pairs, char16_t* o,
                           Uncommon uncommon) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = p + bytes.size();
  while (p < end) {
    // Two-byte characters, the bulk of a Chinese book, two at a time.
    while (end - p >= 4) {
      const char16_t first = pairs[p[0] << 8 | p[1]];
      const char16_t second = pairs[p[2] << 8 | p[3]];
      if (first == 0 || second == 0) break;
      o[0] = first;
      o[1] = second;
      o += 2;
      p += 4;
    }
    if (p == end) break;
    const unsigned b = *p;
    if (b < 0x80) {
      while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080u) break;
        for (int i = 0; i < 8; ++i) o[i] = p[i];
        o += 8;
        p += 8;
      }
      while (p < end && *p < 0x80) *o++ = *p++;
      continue;
    }
    if (end - p >= 2) {
      const char16_t unit = pairs[b << 8 | p[1]];
      if (unit != 0) {
        *o++ = unit;
        p += 2;
        continue;
      }
    }
    p = uncommon(p, end, o);
  }
  return o;
}

}  // namespace quillon::codepage
