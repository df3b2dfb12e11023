#include "book/sentences.h"

#include <algorithm>

namespace quillon {

namespace {

bool EndsASentence(char16_t c) {
  return std::u16string_view(u"。！？；…．!?;").find(c) != std::u16string_view::npos;
}

// The quotes and brackets that close what a sentence said.
bool ClosesAfterAnEnd(char16_t c) {
  return std::u16string_view(u"”’」』）》】〕］｝\")]}'").find(c) != std::u16string_view::npos;
}

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'　';
}

// Something to say: a letter, a digit or an ideograph, not only spaces and marks.
bool IsSpoken(char16_t c) {
  if (IsSpace(c) || IsClosingPunctuation(c) || IsOpeningPunctuation(c)) return false;
  if (c < 0x80)
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return std::u16string_view(u"、：—－·～＊＝＃…").find(c) == std::u16string_view::npos;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Where a sentence may begin: the line's start, or just after an end and what closes it.
bool BeginsAfterAnEnd(std::u16string_view text, std::size_t at) {
  while (at > 0 && ClosesAfterAnEnd(text[at - 1])) --at;
  return at == 0 || EndsASentence(text[at - 1]);
}

// The sentence that begins at `from` (its spaces passed over): [begin, end).
std::pair<std::size_t, std::size_t> SentenceAt(std::u16string_view text, std::size_t from) {
  std::size_t begin = from;
  while (begin < text.size() && IsSpace(text[begin])) ++begin;
  std::size_t end = begin;
  std::size_t lastComma = 0;
  const std::size_t longest = begin + kLongestSentence;
  while (end < text.size()) {
    const char16_t c = text[end++];
    if (EndsASentence(c)) {
      while (end < text.size() && (EndsASentence(text[end]) || ClosesAfterAnEnd(text[end]))) ++end;
      return {begin, end};
    }
    if (c == u'，' || c == u',') lastComma = end;
    if (end - begin >= static_cast<std::size_t>(kLongestSentence) && end < text.size()) {
      if (lastComma > begin) return {begin, lastComma};
      // No comma: cut at the longest, never between the halves of a pair.
      if (IsLowSurrogate(text[end])) ++end;
      return {begin, std::min(end, longest + 1)};
    }
  }
  return {begin, end};
}

std::optional<Sentence> Search(const BookText& book, std::int32_t line, std::size_t from,
                               std::size_t atLeast) {
  for (; line < book.Count(); ++line, from = 0, atLeast = 0) {
    const std::u16string_view text = book.Line(line);
    for (std::size_t at = from; at < text.size();) {
      const auto [begin, end] = SentenceAt(text, at);
      if (begin >= atLeast &&
          std::any_of(text.begin() + static_cast<std::ptrdiff_t>(begin),
                      text.begin() + static_cast<std::ptrdiff_t>(end), IsSpoken)) {
        return Sentence{line, static_cast<std::int32_t>(begin),
                        static_cast<std::int32_t>(end - begin)};
      }
      if (end <= at) break;
      at = end;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Sentence> SentenceFrom(const BookText& book, BookPlace place) {
  if (place.Line < 0) place = {};
  if (place.Line >= book.Count()) return std::nullopt;
  const std::u16string_view text = book.Line(place.Line);
  const std::size_t offset = std::min<std::size_t>(std::max(place.Offset, 0), text.size());
  // Sentences are counted from where one surely begins, so a long one is cut where it always is.
  std::size_t from = offset;
  while (from > 0 && !BeginsAfterAnEnd(text, from)) --from;
  return Search(book, place.Line, from, offset);
}

std::optional<Sentence> SentenceAfter(const BookText& book, const Sentence& sentence) {
  return Search(
      book, sentence.Line,
      static_cast<std::size_t>(sentence.Offset) + static_cast<std::size_t>(sentence.Length), 0);
}

}  // namespace quillon
