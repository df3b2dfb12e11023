// GB18030 decoding and encoding against glibc's iconv, on a 20 MB book made up in memory, and
// Big5 decoding on a book of the same shape.

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace {

// Fixed seed, so every run measures the same text.
class Random {
 public:
  std::uint32_t Below(std::uint32_t n) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ % n);
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

void PutPair(std::string& text, unsigned lead, unsigned trail) {
  text.push_back(static_cast<char>(lead));
  text.push_back(static_cast<char>(trail));
}

// The bytes a novel is made of in one encoding: its indent, its punctuation (the comma most often),
// and its hanzi by how often a novel uses them.
struct NovelBytes {
  const char* indent;
  const char* const (&punctuation)[12];
  void (*common)(std::string& text, Random& random);
  void (*second)(std::string& text, Random& random);  // nullptr: common ones instead
  void (*rare)(std::string& text, Random& random);
};

// Shaped like a novel: indented paragraphs of hanzi, mostly the common ones, with full-width
// punctuation, a few rare characters and some ASCII, CR LF ends.
std::string MakeNovel(std::size_t size, const NovelBytes& bytes) {
  static const char* const kAscii[] = {" ", "......", "12", "A", "\"", ", ", "2.5"};
  Random random;
  std::string text;
  text.reserve(size + 4096);
  while (text.size() < size) {
    text += random.Below(4) == 0 ? bytes.indent : "    ";
    const std::uint32_t length = 20 + random.Below(600);
    for (std::uint32_t i = 0; i < length; ++i) {
      const std::uint32_t roll = random.Below(1000);
      if (roll < 110) {
        text += bytes.punctuation[random.Below(std::size(bytes.punctuation))];
      } else if (roll < 135) {
        bytes.rare(text, random);
      } else if (roll < 150) {
        text += kAscii[random.Below(std::size(kAscii))];
      } else if (roll < 250 && bytes.second != nullptr) {
        bytes.second(text, random);
      } else {
        bytes.common(text, random);
      }
    }
    text += "\r\n";
  }
  return text;
}

const char* const kGbkPunctuation[12] = {"\xA3\xAC", "\xA3\xAC", "\xA3\xAC", "\xA1\xA3",
                                         "\xA1\xA3", "\xA1\xA2", "\xA3\xBA", "\xA1\xB0",
                                         "\xA1\xB1", "\xA3\xA1", "\xA3\xBF", "\xA1\xAD"};

// GB2312's first level, its second, and GBK's extension: lead 0x81..0xA0 with any trail, or lead
// 0xAA..0xFE with 0x40..0xA0.
const NovelBytes kGbk = {
    "\xA1\xA1\xA1\xA1", kGbkPunctuation,
    [](std::string& text, Random& random) {
      PutPair(text, 0xB0 + random.Below(0x27), 0xA1 + random.Below(0x5E));
    },
    [](std::string& text, Random& random) {
      PutPair(text, 0xD8 + random.Below(0x20), 0xA1 + random.Below(0x5E));
    },
    [](std::string& text, Random& random) {
      const std::uint32_t trail = 0x40 + random.Below(0x60);
      PutPair(text, random.Below(2) ? 0x81 + random.Below(0x20) : 0xAA + random.Below(0x55),
              trail == 0x7F ? 0x80 : trail);
    }};

const std::string& Book() {
  static const std::string book = MakeNovel(20u << 20, kGbk);
  return book;
}

void PutBig5Pair(std::string& text, unsigned lead, Random& random) {
  const std::uint32_t trail = random.Below(157);
  PutPair(text, lead, trail < 63 ? 0x40 + trail : 0xA1 + trail - 63);
}

const char* const kBig5Punctuation[12] = {"\xA1\x41", "\xA1\x41", "\xA1\x41", "\xA1\x43",
                                          "\xA1\x43", "\xA1\x42", "\xA1\x47", "\xA1\x75",
                                          "\xA1\x76", "\xA1\x49", "\xA1\x48", "\xA1\x4B"};

// The same novel in Big5: the frequently used hanzi (0xA440..0xC67E) where the GBK book has
// GB2312 characters, the less used ones (0xC940..0xF9D5) where it has GBK-only ones.
const NovelBytes kBig5 = {"\xA1\x40\xA1\x40", kBig5Punctuation,
                          [](std::string& text, Random& random) {
                            PutBig5Pair(text, 0xA4 + random.Below(0xC6 - 0xA4), random);
                          },
                          nullptr,
                          [](std::string& text, Random& random) {
                            PutBig5Pair(text, 0xC9 + random.Below(0xF9 - 0xC9), random);
                          }};

const std::string& Big5Book() {
  static const std::string book = MakeNovel(20u << 20, kBig5);
  return book;
}

// iconv into a buffer it gets new each time, as a caller that keeps the text would, or into one
// already in use, which leaves out the cost of first touching fresh memory.
void RunIconv(benchmark::State& state, const char* to, const char* from, std::string_view in,
              std::size_t outSize, bool freshBuffer) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  auto reused = std::make_unique<char[]>(outSize);
  for (auto _ : state) {
    std::unique_ptr<char[]> fresh(freshBuffer ? new char[outSize] : nullptr);
    char* const out = freshBuffer ? fresh.get() : reused.get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out;
    std::size_t outLeft = outSize;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv rejected the input");
      break;
    }
    benchmark::DoNotOptimize(out);
  }
  iconv_close(cd);
}

// All figures are in bytes of the encoded book, read or written, so they compare directly.
void SetBookBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Book().size()));
}

void BM_DecodeGb18030(benchmark::State& state) {
  const std::string& book = Book();
  for (auto _ : state) {
    std::u16string text = quillon::codepage::DecodeGb18030(book);
    benchmark::DoNotOptimize(text.data());
  }
  SetBookBytes(state);
}
BENCHMARK(BM_DecodeGb18030)->Unit(benchmark::kMillisecond);

void BM_DecodeBig5(benchmark::State& state) {
  const std::string& book = Big5Book();
  for (auto _ : state) {
    std::u16string text = quillon::codepage::DecodeBig5(book);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * book.size()));
}
BENCHMARK(BM_DecodeBig5)->Unit(benchmark::kMillisecond);

void BM_IconvToUtf16(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "GB18030", Book(), Book().size() * 2, true);
  SetBookBytes(state);
}
BENCHMARK(BM_IconvToUtf16)->Unit(benchmark::kMillisecond);

void BM_AppendGb18030IntoReused(benchmark::State& state) {
  const std::string& book = Book();
  std::u16string text;
  text.reserve(book.size());
  for (auto _ : state) {
    text.clear();
    quillon::codepage::AppendGb18030(book, text);
    benchmark::DoNotOptimize(text.data());
  }
  SetBookBytes(state);
}
BENCHMARK(BM_AppendGb18030IntoReused)->Unit(benchmark::kMillisecond);

void BM_AppendBig5IntoReused(benchmark::State& state) {
  const std::string& book = Big5Book();
  std::u16string text;
  text.reserve(book.size());
  for (auto _ : state) {
    text.clear();
    quillon::codepage::AppendBig5(book, text);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * book.size()));
}
BENCHMARK(BM_AppendBig5IntoReused)->Unit(benchmark::kMillisecond);

void BM_IconvToUtf16IntoReused(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "GB18030", Book(), Book().size() * 2, false);
  SetBookBytes(state);
}
BENCHMARK(BM_IconvToUtf16IntoReused)->Unit(benchmark::kMillisecond);

void BM_EncodeGb18030(benchmark::State& state) {
  const std::u16string text = quillon::codepage::DecodeGb18030(Book());
  for (auto _ : state) {
    std::string bytes = quillon::codepage::EncodeGb18030(text);
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBookBytes(state);
}
BENCHMARK(BM_EncodeGb18030)->Unit(benchmark::kMillisecond);

void BM_IconvFromUtf16(benchmark::State& state) {
  const std::u16string text = quillon::codepage::DecodeGb18030(Book());
  const std::string_view utf16(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  RunIconv(state, "GB18030", "UTF-16LE", utf16, Book().size() + 64, true);
  SetBookBytes(state);
}
BENCHMARK(BM_IconvFromUtf16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
