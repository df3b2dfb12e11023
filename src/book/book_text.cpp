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
  }
  return book;
}

}  // namespace quillon
