#pragma once
// Sentences to read aloud: a book is read a sentence at a time, and the sentence being read is
// marked on its page. A sentence ends at 。！？；… (and the closing quotes or brackets that follow
// it) or at its line's end; one longer than 200 characters is cut after its last comma before
// that; lines of nothing but punctuation are passed over.

#include <cstdint>
#include <optional>
#include <string_view>

#include "book/book_rows.h"
#include "book/book_text.h"

namespace quillon {

struct Sentence {
  std::int32_t Line = 0;
  std::int32_t Offset = 0;  // in UTF-16 units, as Length
  std::int32_t Length = 0;
  BookPlace Start() const { return {Line, Offset}; }
  bool operator==(const Sentence& other) const {
    return Line == other.Line && Offset == other.Offset && Length == other.Length;
  }
};

// The longest a sentence is read in one go.
constexpr std::int32_t kLongestSentence = 200;

// The first sentence that begins at `place` or after it; nullopt when the book has none.
std::optional<Sentence> SentenceFrom(const BookText& book, BookPlace place);
// The sentence after `sentence`.
std::optional<Sentence> SentenceAfter(const BookText& book, const Sentence& sentence);

}  // namespace quillon
