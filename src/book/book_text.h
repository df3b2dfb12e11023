#pragma once
// A book's text held once: the decoded characters and, for every line, where it lies in them.
// Lines are the items of the data files' reader, so a line with two ASCII commas is three lines.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

// Memory for a book's decoded text, taken in one piece from the system. Pages are only used where
// text is written, so room reserved for the worst case, or left between pieces decoded side by
// side, costs nothing; a large book's memory is advised for huge pages so that writing it does
// not fault every 4 KB.
class TextBuffer {
 public:
  TextBuffer() = default;
  // Room for `units` UTF-16 units; throws std::bad_alloc when the system has none.
  explicit TextBuffer(std::size_t units);
  ~TextBuffer();
  TextBuffer(TextBuffer&& other) noexcept;
  TextBuffer& operator=(TextBuffer&& other) noexcept;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  char16_t* data() const { return data_; }
  std::size_t capacity() const { return units_; }
  // Gives back the memory of [from, to) within a buffer, which holds no text: a huge page written
  // only in part at the end of a piece decoded on its own is otherwise kept whole.
  static void Release(char16_t* from, char16_t* to);

 private:
  char16_t* data_ = nullptr;
  std::size_t units_ = 0;
};

// An array of fixed room taken from the system like TextBuffer: pages are used only as far as
// it is filled, so room for the most a book could need costs nothing until it is needed.
template <typename T>
class MappedArray {
 public:
  MappedArray() = default;
  // `dense`: it will be filled far enough that huge pages save faults rather than waste room.
  explicit MappedArray(std::size_t capacity, bool dense = false)
      : memory_(Reserve(capacity * sizeof(T), dense)) {}
  T* data() const { return static_cast<T*>(memory_.Data); }

 private:
  struct Mapping {
    void* Data = nullptr;
    std::size_t Bytes = 0;
    Mapping() = default;
    Mapping(void* data, std::size_t bytes) : Data(data), Bytes(bytes) {}
    Mapping(Mapping&& other) noexcept
        : Data(std::exchange(other.Data, nullptr)), Bytes(std::exchange(other.Bytes, 0)) {}
    Mapping& operator=(Mapping&& other) noexcept;
    ~Mapping();
  };
  static Mapping Reserve(std::size_t bytes, bool dense);
  Mapping memory_;

  template <typename>
  friend class MappedArray;
};

// Where each line lies in the text: a byte for its length, and four more for where it starts
// only if it has any text, so that a book of blank lines (two bytes each in the file) takes half
// its size. Lines are kept in up to a few segments, one for each piece of the book read on a
// thread of its own, so that joining the pieces copies nothing.
class LineTable {
  struct Segment;

 public:
  // A new segment for up to `mostLines` lines, which the following Add calls fill.
  void BeginSegment(std::size_t mostLines);
  // Adds lines to the segment being filled, keeping its counts at hand rather than in the table
  // (a book may have millions of lines); they are put back when it goes.
  class Appender {
   public:
    explicit Appender(LineTable& table);
    ~Appender();
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;
    // Where the text of the segment's last line with text ends; `otherwise` when it has none.
    std::size_t TextEnd(std::size_t otherwise) const {
      return withText_ > 0 ? textEnd_ : otherwise;
    }
    void AddBlank() {
      if (count_ % kBlock == 0) blockStarts_[count_ / kBlock] = withText_;
      lengths_[count_++] = 0;
    }
    void Add(std::size_t offset, std::size_t length, bool endsAtComma) {
      if (count_ % kBlock == 0) blockStarts_[count_ / kBlock] = withText_;
      if (length > 0) {
        offsets_[withText_++] = static_cast<std::uint32_t>(offset);
        textEnd_ = offset + length;
      }
      if (length < kLong) {
        lengths_[count_] = static_cast<std::uint8_t>(length);
      } else {
        lengths_[count_] = kLong;
        segment_.LongLengths.emplace_back(count_, static_cast<std::int32_t>(length));
      }
      if (endsAtComma) table_.afterComma_.push_back(segment_.First + count_ + 1);
      ++count_;
    }

   private:
    LineTable& table_;
    Segment& segment_;
    std::uint32_t* offsets_;
    std::uint8_t* lengths_;
    std::int32_t* blockStarts_;
    std::int32_t count_;
    std::int32_t withText_;
    std::size_t textEnd_;
  };

  // The segments of `next`, whose lines follow these in the book.
  void Append(LineTable&& next);

  std::int32_t Count() const { return count_; }
  // Where a line's text starts; for a line without text, nowhere in particular.
  std::size_t Offset(std::int32_t index) const {
    const Segment& segment = SegmentOf(index);
    const std::int32_t local = index - segment.First;
    if (segment.Lengths.data()[local] == 0) return 0;
    return segment.Offsets.data()[segment.WithTextBefore(local)];
  }
  std::int32_t Length(std::int32_t index) const {
    const Segment& segment = SegmentOf(index);
    const std::int32_t local = index - segment.First;
    const std::uint8_t length = segment.Lengths.data()[local];
    return length != kLong ? length : segment.LongLength(local);
  }
  const std::vector<std::int32_t>& AfterComma() const { return afterComma_; }
  // The segments, which can be walked on threads of their own: the first line of each, and
  // `visit(index, length)` for every line of one in order, quicker than asking line by line.
  std::size_t SegmentCount() const { return segments_.size(); }
  std::int32_t SegmentFirst(std::size_t s) const { return segments_[s].First; }
  template <typename Visit>
  void ForEachLength(std::size_t s, Visit&& visit) const {
    const Segment& segment = segments_[s];
    const std::uint8_t* lengths = segment.Lengths.data();
    auto longLength = segment.LongLengths.begin();
    for (std::int32_t local = 0; local < segment.Count; ++local) {
      const std::uint8_t length = lengths[local];
      visit(segment.First + local, length != kLong ? std::int32_t{length} : (longLength++)->second);
    }
  }
  // `visit(index, offset, length)` for every line of segment `s` in order, quicker still: where a
  // line's text starts is read only for the lines that have text (0 for the others).
  template <typename Visit>
  void ForEachLengthAndOffset(std::size_t s, Visit&& visit) const {
    const Segment& segment = segments_[s];
    const std::uint8_t* lengths = segment.Lengths.data();
    const std::uint32_t* offsets = segment.Offsets.data();
    auto longLength = segment.LongLengths.begin();
    std::int32_t withText = 0;
    for (std::int32_t local = 0; local < segment.Count; ++local) {
      const std::uint8_t length = lengths[local];
      if (length == 0) {
        visit(segment.First + local, std::size_t{0}, std::int32_t{0});
      } else {
        visit(segment.First + local, std::size_t{offsets[withText++]},
              length != kLong ? std::int32_t{length} : (longLength++)->second);
      }
    }
  }
  // `visit(index, offset, length)` for the lines [first, end) in order. Where a line's text starts
  // is counted along the way, where asking line by line counts it from the start of a block.
  // `ahead(offset)` names the start of a line with text some lines further on, to be fetched
  // early: a walk that looks at the first characters only waits on memory at every line.
  template <typename Visit, typename Ahead>
  void ForEachLine(std::int32_t first, std::int32_t end, Visit&& visit, Ahead&& ahead) const {
    while (first < end) {
      const Segment& segment = SegmentOf(first);
      const std::int32_t stop = std::min(end - segment.First, segment.Count);
      const std::uint8_t* lengths = segment.Lengths.data();
      const std::uint32_t* offsets = segment.Offsets.data();
      std::int32_t local = first - segment.First;
      std::int32_t withText = segment.WithTextBefore(local);
      auto longLength =
          std::lower_bound(segment.LongLengths.begin(), segment.LongLengths.end(), local,
                           [](const std::pair<std::int32_t, std::int32_t>& entry,
                              std::int32_t line) { return entry.first < line; });
      constexpr std::int32_t kAhead = 16;
      for (; local < stop; ++local) {
        const std::uint8_t length = lengths[local];
        if (withText + kAhead < segment.WithText) ahead(std::size_t{offsets[withText + kAhead]});
        if (length == 0) {
          visit(segment.First + local, std::size_t{0}, std::int32_t{0});
        } else {
          visit(segment.First + local, std::size_t{offsets[withText++]},
                length != kLong ? std::int32_t{length} : (longLength++)->second);
        }
      }
      first = segment.First + stop;
    }
  }
  // Where the text of the last line that has any ends, in the segment being filled.
  std::size_t TextEnd() const { return segments_.empty() ? 0 : segments_.back().TextEnd; }

 private:
  static constexpr std::uint8_t kLong = 0xFF;
  // Lines are counted in blocks: how many lines with text come before each block, and the rest by
  // counting the lengths that are not 0 within it.
  static constexpr std::int32_t kBlock = 256;
  struct Segment {
    std::int32_t First = 0;
    std::int32_t Count = 0;
    std::int32_t WithText = 0;
    std::size_t TextEnd = 0;
    // The start of each line with text, in order.
    MappedArray<std::uint32_t> Offsets;
    MappedArray<std::uint8_t> Lengths;
    MappedArray<std::int32_t> BlockStarts;
    std::int32_t WithTextBefore(std::int32_t local) const;
    // The lengths of 255 characters and more, by line, ascending: a book's paragraphs.
    std::vector<std::pair<std::int32_t, std::int32_t>> LongLengths;
    std::int32_t LongLength(std::int32_t local) const;
  };
  const Segment& SegmentOf(std::int32_t index) const {
    std::size_t k = segments_.size() - 1;
    while (segments_[k].First > index) --k;
    return segments_[k];
  }

  std::vector<Segment> segments_;
  std::int32_t count_ = 0;
  // The lines that follow an ASCII comma, ascending. Commas are rare in Chinese text, so this is
  // far smaller than a mark on every line.
  std::vector<std::int32_t> afterComma_;
};

class BookText {
 public:
  BookText() = default;
  BookText(TextBuffer text, LineTable lines) : text_(std::move(text)), lines_(std::move(lines)) {}
  // Splits decoded text into lines (tests, and books held in memory).
  static BookText FromText(std::u16string_view text);
  // Splits text[begin, end), which starts where a line starts, into lines as the item reader
  // reads them, in a new segment of `lines`. Quotes and line ends are squeezed out in place, so
  // the text is kept once and each line is a view into it; offsets count from `text`.
  static void SplitLines(char16_t* text, std::size_t begin, std::size_t end, LineTable& lines);
  // The same into the segment being filled, for text that is still arriving: unless `final`,
  // only the lines up to the last line feed are taken, looked for back to `searched`, before
  // which the text was looked at already. Returns where the taken lines end.
  static std::size_t SplitCompleteLines(char16_t* text, std::size_t begin, std::size_t end,
                                        std::size_t searched, bool final, LineTable& lines);

  std::int32_t Count() const { return lines_.Count(); }
  std::u16string_view Line(std::int32_t index) const {
    return std::u16string_view(text_.data() + lines_.Offset(index),
                               static_cast<std::size_t>(lines_.Length(index)));
  }
  std::int32_t LineLength(std::int32_t index) const { return lines_.Length(index); }
  // Every line's length in order, or those of one piece of the book read on its own thread
  // (see LineTable), with the first line of each piece.
  std::size_t PieceCount() const { return lines_.SegmentCount(); }
  std::int32_t PieceFirstLine(std::size_t piece) const { return lines_.SegmentFirst(piece); }
  // `visit(index, line)` for the lines [first, end) in order; far quicker than Line() for a walk.
  template <typename Visit>
  void ForEachLine(std::int32_t first, std::int32_t end, Visit&& visit) const {
    WalkLines(first, end, visit,
              [this](std::size_t offset) { __builtin_prefetch(text_.data() + offset); });
  }
  // The same without fetching text ahead, for a walk that looks at the text of few lines.
  template <typename Visit>
  void VisitLines(std::int32_t first, std::int32_t end, Visit&& visit) const {
    WalkLines(first, end, visit, [](std::size_t) {});
  }
  // `visit(index, line)` for every line of one piece, the quickest walk of all for looking at the
  // text of few lines: a line's text is where it is, and nothing is fetched ahead.
  template <typename Visit>
  void ForEachLineOfPiece(std::size_t piece, Visit&& visit) const {
    lines_.ForEachLengthAndOffset(piece, [&](std::int32_t index, std::size_t offset,
                                             std::int32_t length) {
      visit(index, std::u16string_view(text_.data() + offset, static_cast<std::size_t>(length)));
    });
  }
  template <typename Visit>
  void ForEachLineLength(std::size_t piece, Visit&& visit) const {
    lines_.ForEachLength(piece, std::forward<Visit>(visit));
  }
  template <typename Visit>
  void ForEachLineLength(Visit&& visit) const {
    for (std::size_t piece = 0; piece < PieceCount(); ++piece) ForEachLineLength(piece, visit);
  }
  // The line of the file (from 0) that line `index` was read from, for reporting places as an
  // editor shows them: the lines an ASCII comma splits off share their file line.
  std::int32_t FileLineOf(std::int32_t index) const;

 private:
  template <typename Visit, typename Ahead>
  void WalkLines(std::int32_t first, std::int32_t end, Visit& visit, Ahead&& ahead) const {
    lines_.ForEachLine(
        first, end,
        [&](std::int32_t index, std::size_t offset, std::int32_t length) {
          visit(index,
                std::u16string_view(text_.data() + offset, static_cast<std::size_t>(length)));
        },
        ahead);
  }
  TextBuffer text_;
  LineTable lines_;
};

}  // namespace quillon
