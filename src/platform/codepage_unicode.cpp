#include "platform/codepage.h"

#include <cstdint>
#include <cstring>

#include "platform/append_decoded.h"

namespace quillon::codepage {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Exact for valid text (one unit per character, two above U+FFFF), so a decoded book takes no
// more memory than it needs; invalid bytes may make it fall short, and the string then grows.
std::size_t CountUtf16Units(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  const char* data = bytes.data();
  std::size_t count = 0;
  std::size_t i = 0;
  // Eight bytes at a time: only bit 7 of each byte is kept, so the shifts' spill into the
  // neighbouring byte never matters, and the multiply adds up the eight flags.
  for (; bytes.size() - i >= 8; i += 8) {
    std::uint64_t x;
    std::memcpy(&x, data + i, sizeof x);
    const std::uint64_t continuation = x & ~(x << 1) & kHighBits;
    const std::uint64_t fourByteLead = x & (x << 1) & (x << 2) & (x << 3) & kHighBits;
    count += 8 - ((continuation >> 7) * kOnes >> 56) + ((fourByteLead >> 7) * kOnes >> 56);
  }
  for (; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    count += ((byte & 0xC0) != 0x80 ? 1 : 0) + (byte >= 0xF0 ? 1 : 0);
  }
  return count;
}

}  // namespace

char16_t* DecodeUtf8Into(std::string_view bytes, char16_t* o) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    // Markup, digits and Latin text come eight bytes at a time.
    if (size - i >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, data + i, sizeof chunk);
      if ((chunk & 0x8080808080808080u) == 0) {
        for (std::size_t k = 0; k < 8; ++k) o[k] = data[i + k];
        o += 8;
        i += 8;
        continue;
      }
    }

    const unsigned lead = data[i++];
    if (lead < 0x80) {
      *o++ = static_cast<char16_t>(lead);
      continue;
    }
    // Chinese is three bytes a character: a valid one of those goes straight through.
    if ((lead & 0xF0) == 0xE0 && size - i >= 2) {
      const unsigned second = data[i];
      const unsigned third = data[i + 1];
      const std::uint32_t codePoint =
          (lead & 0x0Fu) << 12 | (second & 0x3Fu) << 6 | (third & 0x3Fu);
      if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80 && codePoint >= 0x800 &&
          (codePoint < 0xD800 || codePoint > 0xDFFF)) {
        *o++ = static_cast<char16_t>(codePoint);
        i += 2;
        continue;
      }
    }
    // The first continuation byte's range also rules out overlongs, surrogates and values above
    // U+10FFFF, which makes every rejected prefix a maximal subpart of its own.
    int needed = 0;
    unsigned lower = 0x80;
    unsigned upper = 0xBF;
    std::uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      needed = 1;
      codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      needed = 2;
      codePoint = lead & 0x0F;
      if (lead == 0xE0) lower = 0xA0;
      if (lead == 0xED) upper = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      needed = 3;
      codePoint = lead & 0x07;
      if (lead == 0xF0) lower = 0x90;
      if (lead == 0xF4) upper = 0x8F;
    } else {
      *o++ = kReplacement;
      continue;
    }
    bool complete = true;
    for (int k = 0; k < needed; ++k) {
      // A byte that does not fit is not consumed: it may start the next character.
      if (i >= size || data[i] < lower || data[i] > upper) {
        complete = false;
        break;
      }
      codePoint = (codePoint << 6) | (data[i++] & 0x3Fu);
      lower = 0x80;
      upper = 0xBF;
    }
    if (!complete) {
      *o++ = kReplacement;
    } else if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
      *o++ = static_cast<char16_t>(codePoint);
    }
  }
  return o;
}

void AppendUtf8(std::string_view bytes, std::u16string& out) {
  AppendDecoded(bytes, out, DecodeUtf8Into);
}

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(CountUtf16Units(bytes));
  AppendUtf8(bytes, out);
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c < 0x80) {
      put(c);
    } else if (c < 0x800) {
      put(0xC0 | (c >> 6));
      put(0x80 | (c & 0x3F));
    } else if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
      put(0xF0 | (c >> 18));
      put(0x80 | ((c >> 12) & 0x3F));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    } else {
      if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;  // a lone half has no UTF-8 form
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    }
  }
  return out;
}

char16_t* DecodeUtf16Into(std::string_view bytes, bool bigEndian, char16_t* out) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t units = bytes.size() / 2;
  constexpr bool kLittleEndianMachine = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
  if (!bigEndian && kLittleEndianMachine) {
    if (units > 0) std::memcpy(out, data, units * 2);  // the machine's own order
  } else {
    const std::size_t high = bigEndian ? 0 : 1;
    for (std::size_t i = 0; i < units; ++i) {
      out[i] = static_cast<char16_t>(data[2 * i + high] << 8 | data[2 * i + 1 - high]);
    }
  }
  out += units;
  if (bytes.size() % 2 != 0) *out++ = kReplacement;
  return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out(bytes.size() / 2 + bytes.size() % 2, u'\0');
  DecodeUtf16Into(bytes, bigEndian, out.data());
  return out;
}

bool IsValidUtf8(std::string_view bytes, bool cutAtEnd) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned lead = data[i++];
    if (lead < 0x80) continue;
    int needed = 0;
    unsigned lower = 0x80;
    unsigned upper = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      needed = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      needed = 2;
      if (lead == 0xE0) lower = 0xA0;
      if (lead == 0xED) upper = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      needed = 3;
      if (lead == 0xF0) lower = 0x90;
      if (lead == 0xF4) upper = 0x8F;
    } else {
      return false;
    }
    for (int k = 0; k < needed; ++k, ++i) {
      if (i >= size) return cutAtEnd;
      if (data[i] < lower || data[i] > upper) return false;
      lower = 0x80;
      upper = 0xBF;
    }
  }
  return true;
}

}  // namespace quillon::codepage
