#include "book/book_text.h"

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <new>

namespace quillon {

namespace {

// Below this a book is small enough that huge pages would only waste memory.
constexpr std::size_t kHugePageWorthy = 8u << 20;

bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

}  // namespace

TextBuffer::TextBuffer(std::size_t units) : units_(units) {
  if (units == 0) return;
  const bool huge = units * sizeof(char16_t) >= kHugePageWorthy;
  // A small book's room is taken whole at once: faulting it in page by page as it is written
  // costs more than the read itself (and its pages beyond the text are given back after).
  void* memory =
      ::mmap(nullptr, units * sizeof(char16_t), PROT_READ | PROT_WRITE,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | (huge ? 0 : MAP_POPULATE), -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  if (huge) ::madvise(memory, units * sizeof(char16_t), MADV_HUGEPAGE);
  data_ = static_cast<char16_t*>(memory);
}

void TextBuffer::Release(char16_t* from, char16_t* to) {
  constexpr std::uintptr_t kPage = 4096;
  const auto first = (reinterpret_cast<std::uintptr_t>(from) + kPage - 1) & ~(kPage - 1);
  const auto last = reinterpret_cast<std::uintptr_t>(to) & ~(kPage - 1);
  if (first < last) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
  }
}

TextBuffer::~TextBuffer() {
  if (data_ != nullptr) ::munmap(data_, units_ * sizeof(char16_t));
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), units_(std::exchange(other.units_, 0)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
  if (this != &other) {
    if (data_ != nullptr) ::munmap(data_, units_ * sizeof(char16_t));
    data_ = std::exchange(other.data_, nullptr);
    units_ = std::exchange(other.units_, 0);
  }
  return *this;
}

template <typename T>
typename MappedArray<T>::Mapping MappedArray<T>::Reserve(std::size_t bytes, bool dense) {
  if (bytes == 0) return Mapping();
  void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  if (dense && bytes >= kHugePageWorthy) {
    // Only past its first megabyte or two: a book of ordinary lines touches a few small pages of
    // the array, and would have each of its pieces hold a whole huge page for them.
    constexpr std::uintptr_t kHugePage = 2u << 20;
    const auto first = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t from = (first + 2 * kHugePage - 1) & ~(kHugePage - 1);
    if (from < first + bytes) {
      ::madvise(reinterpret_cast<void*>(from), first + bytes - from, MADV_HUGEPAGE);
    }
  }
  return Mapping(memory, bytes);
}

template <typename T>
typename MappedArray<T>::Mapping& MappedArray<T>::Mapping::operator=(Mapping&& other) noexcept {
  if (this != &other) {
    if (Data != nullptr) ::munmap(Data, Bytes);
    Data = std::exchange(other.Data, nullptr);
    Bytes = std::exchange(other.Bytes, 0);
  }
  return *this;
}

template <typename T>
MappedArray<T>::Mapping::~Mapping() {
  if (Data != nullptr) ::munmap(Data, Bytes);
}

template class MappedArray<std::uint32_t>;
template class MappedArray<std::uint8_t>;
template class MappedArray<std::int32_t>;

void LineTable::BeginSegment(std::size_t mostLines) {
  Segment segment;
  segment.First = count_;
  segment.Offsets = MappedArray<std::uint32_t>(mostLines);
  // The lengths, a byte a line, are the one part a book of blank lines fills; the rest of the
  // room is sized for the most lines a text could have, and a book uses a small part of it,
  // which 2 MB pages would round up.
  segment.Lengths = MappedArray<std::uint8_t>(mostLines, true);
  segment.BlockStarts = MappedArray<std::int32_t>(mostLines / kBlock + 1);
  segments_.push_back(std::move(segment));
}

LineTable::Appender::Appender(LineTable& table)
    : table_(table),
      segment_(table.segments_.back()),
      offsets_(segment_.Offsets.data()),
      lengths_(segment_.Lengths.data()),
      blockStarts_(segment_.BlockStarts.data()),
      count_(segment_.Count),
      withText_(segment_.WithText),
      textEnd_(segment_.TextEnd) {}

LineTable::Appender::~Appender() {
  table_.count_ += count_ - segment_.Count;
  segment_.Count = count_;
  segment_.WithText = withText_;
  segment_.TextEnd = textEnd_;
}

std::int32_t LineTable::Segment::WithTextBefore(std::int32_t local) const {
  const std::uint8_t* lengths = Lengths.data();
  std::int32_t line = local / kBlock * kBlock;
  std::int32_t count = BlockStarts.data()[local / kBlock];
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; local - line >= 16; line += 16) {
    const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lengths + line));
    const int empty = _mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, zero));
    count += 16 - __builtin_popcount(static_cast<unsigned>(empty));
  }
#endif
  for (; line < local; ++line) count += lengths[line] != 0;
  return count;
}

void LineTable::Append(LineTable&& next) {
  for (Segment& segment : next.segments_) {
    segment.First += count_;
    if (segment.Count > 0) segments_.push_back(std::move(segment));
  }
  for (std::int32_t line : next.afterComma_) afterComma_.push_back(line + count_);
  count_ += next.count_;
  next = LineTable();
}

std::int32_t LineTable::Segment::LongLength(std::int32_t local) const {
  const auto found = std::lower_bound(LongLengths.begin(), LongLengths.end(), local,
                                      [](const std::pair<std::int32_t, std::int32_t>& entry,
                                         std::int32_t line) { return entry.first < line; });
  return found != LongLengths.end() && found->first == local ? found->second : kLong;
}

void BookText::SplitLines(char16_t* text, std::size_t begin, std::size_t end, LineTable& lines) {
  // No line is shorter than the character that ends it, but for the last.
  lines.BeginSegment(end - begin + 1);
  SplitCompleteLines(text, begin, end, begin, true, lines);
}

std::size_t BookText::SplitCompleteLines(char16_t* text, std::size_t begin, std::size_t end,
                                         std::size_t searched, bool final, LineTable& lines) {
  if (!final) {
    // A line feed always ends a line, and nothing read later can change the lines before it.
    // Text already searched holds none, or the lines up to it would have been taken.
    const std::size_t floor = std::max(begin, searched);
    while (end > floor && text[end - 1] != u'\n') --end;
    if (end == floor) return begin;
  }
  // Every character that ends an item is at most ',', so a compare rejects almost all text, eight
  // characters at a time where the machine can.
  const auto findItemEnd = [text, end](std::size_t from) {
    for (;;) {
#if defined(__SSE2__)
      const __m128i comma = _mm_set1_epi16(u',');
      while (end - from >= 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
        // Unsigned: a unit is at most ',' when taking ',' from it leaves nothing.
        const int low =
            _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(units, comma), _mm_setzero_si128()));
        if (low != 0) {
          from += static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(low))) / 2;
          break;
        }
        from += 8;
      }
#endif
      while (from < end && text[from] > u',') ++from;
      if (from >= end) return end;
      const char16_t c = text[from];
      if (c == u',' || IsLineEnd(c)) return from;
      ++from;
    }
  };
  LineTable::Appender table(lines);
  // Short lines move up to follow the text before them, over the line end and whatever else no
  // line shows: a book of millions of short lines would otherwise keep a line end for every few
  // characters. Longer lines stay where they were decoded, as moving them would cost the open
  // more time than the few percent of memory it saves.
  constexpr std::size_t kShortLine = 32;
  std::size_t textEnd = table.TextEnd(begin);
  std::size_t position = begin;
  while (position < end) {
    // Blank lines, which some books have by the million, in a few instructions each.
    if (text[position] == u'\n') {
      table.AddBlank();
      ++position;
      continue;
    }
    if (text[position] == u'\r' && position + 1 < end && text[position + 1] == u'\n') {
      table.AddBlank();
      position += 2;
      continue;
    }
    while (position < end && text[position] == u' ') ++position;
    std::size_t start = position;
    std::size_t length = 0;
    if (position < end && text[position] == u'"') {
      start = position + 1;
      std::size_t close = start;
      while (close < end && text[close] != u'"' && !IsLineEnd(text[close])) ++close;
      length = close - start;
      position = close;
      if (close < end && text[close] == u'"') {
        // Whatever follows the closing quote is kept rather than dropped, so no book text is
        // lost; it moves up to close the gap the quote leaves.
        position = findItemEnd(close + 1);
        std::copy(text + close + 1, text + position, text + close);
        length += position - close - 1;
      }
    } else {
      position = findItemEnd(position);
      length = position - start;
    }
    bool endsAtComma = false;
    if (position < end) {
      const char16_t terminator = text[position++];
      endsAtComma = terminator == u',';
      if (terminator == u'\r' && position < end && text[position] == u'\n') ++position;
    }
    if (length > 0) {
      if (length <= kShortLine && textEnd < start) {
        std::copy(text + start, text + start + length, text + textEnd);
        start = textEnd;
      }
      textEnd = start + length;
    }
    table.Add(start, length, endsAtComma);
  }
  return end;
}

BookText BookText::FromText(std::u16string_view text) {
  TextBuffer buffer(text.size());
  std::copy(text.begin(), text.end(), buffer.data());
  LineTable lines;
  SplitLines(buffer.data(), 0, text.size(), lines);
  return BookText(std::move(buffer), std::move(lines));
}

std::int32_t BookText::FileLineOf(std::int32_t index) const {
  const std::vector<std::int32_t>& afterComma = lines_.AfterComma();
  const auto sharing = std::upper_bound(afterComma.begin(), afterComma.end(), index);
  return index - static_cast<std::int32_t>(sharing - afterComma.begin());
}

}  // namespace quillon
