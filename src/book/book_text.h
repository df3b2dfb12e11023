#pragma once
// A book's text held once: the decoded characters and, for every line, where it lies in them.
// Lines are the items of the data files' reader, so a line with two ASCII commas is three lines.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class BookText {
 public:
  BookText() = default;
  // Splits decoded text into lines. Quotes and line ends are squeezed out in place, so the text
  // is kept once and each line is a view into it.
  static BookText FromText(std::u16string text);

  std::int32_t Count() const { return static_cast<std::int32_t>(lines_.size()); }
  std::u16string_view Line(std::int32_t index) const {
    const LineSpan& line = lines_[static_cast<std::size_t>(index)];
    return std::u16string_view(text_).substr(line.Offset, line.Length);
  }
  std::int32_t LineLength(std::int32_t index) const {
    return static_cast<std::int32_t>(lines_[static_cast<std::size_t>(index)].Length);
  }
  // The line of the file (from 0) that line `index` was read from, for reporting places as an
  // editor shows them: the lines an ASCII comma splits off share their file line.
  std::int32_t FileLineOf(std::int32_t index) const;

 private:
  struct LineSpan {
    std::uint32_t Offset;
    std::uint32_t Length;
  };
  std::u16string text_;
  std::vector<LineSpan> lines_;
  // The lines that follow an ASCII comma, ascending. Commas are rare in Chinese text, so this is
  // far smaller than a mark on every line.
  std::vector<std::int32_t> afterComma_;
};

}  // namespace quillon
