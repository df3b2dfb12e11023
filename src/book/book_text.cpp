#include "book/book_text.h"

#include <algorithm>

#include "platform/itemfile.h"

namespace quillon {

BookText BookText::FromText(std::u16string text) {
  BookText book;
  book.text_ = std::move(text);
  char16_t* data = book.text_.data();
  itemfile::ItemReader reader(book.text_);
  // A line's text is never longer than the characters it was read from, so squeezing it towards
  // the front of its own stretch of text never overwrites a line that is still to be read.
  while (!reader.AtEnd()) {
    const itemfile::ItemSpan span = reader.NextSpan();
    if (span.TailLength > 0 && span.TailStart != span.Start + span.Length) {
      std::copy(data + span.TailStart, data + span.TailStart + span.TailLength,
                data + span.Start + span.Length);
    }
    book.lines_.push_back({static_cast<std::uint32_t>(span.Start),
                           static_cast<std::uint32_t>(span.Length + span.TailLength)});
    if (span.EndsAtComma) book.afterComma_.push_back(static_cast<std::int32_t>(book.lines_.size()));
  }
  return book;
}

std::int32_t BookText::FileLineOf(std::int32_t index) const {
  const auto sharing = std::upper_bound(afterComma_.begin(), afterComma_.end(), index);
  return index - static_cast<std::int32_t>(sharing - afterComma_.begin());
}

}  // namespace quillon
