#pragma once
// The chapter list of a book, found from its lines in one pass when the book is opened.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_text.h"

namespace quillon {

// Where a chapter's heading is and which part of its line is listed as its title. A book may have
// millions of heading-like lines, so a chapter is a place in the book's text, not a copy of it.
struct Chapter {
  std::int32_t Line = 0;  // a line of the BookText; BookText::FileLineOf gives the file's line
  // Where the title starts in the line (16 bits), its length (8) and, in the last 8 bits, 1 +
  // where in the title the bracket that closes one left off before it stands (【第五章】逃离 is
  // listed as 第五章 逃离), or 0.
  std::uint32_t Title = 0;

  static Chapter At(std::int32_t line, std::size_t from, std::size_t length, std::size_t closing) {
    return {line, static_cast<std::uint32_t>(from << 16 | length << 8 | closing)};
  }
  std::size_t TitleFrom() const { return Title >> 16; }
  std::size_t TitleLength() const { return Title >> 8 & 0xFF; }
  std::size_t Closing() const { return Title & 0xFF; }
  bool operator==(const Chapter& other) const { return Line == other.Line && Title == other.Title; }
};

// The title as the chapter list shows it: from the numbered word (or 序, 楔子, Chapter…) to the end
// of the line, without what a copied web page left before it and the spaces around it.
std::u16string ChapterTitle(const BookText& book, const Chapter& chapter);
// The same from the chapter's line, for a walk through the lines.
std::u16string ChapterTitle(std::u16string_view line, const Chapter& chapter);

// Headings are short lines of their own:
//  - 第, a number (Chinese, financial, ASCII or full-width digits, a space either side allowed) and
//    one of 章回节節卷集部篇, then a title or nothing;
//  - 序章 序言 序 楔子 引子 引言 前言 尾声 尾聲 后记 後記 番外 番外篇, perhaps numbered,
//    then a title after a space or a mark, or nothing;
//  - "Chapter 12", "CHAPTER XII" or "Chapter Twenty-One", then a title after a space or a mark, or
//    nothing;
// each perhaps behind a few brackets or marks and the words 目录 or 正文 that books copied from
// web pages carry. Body text that begins like one is not: a line longer than kMaxHeadingLength,
// one ending like a clause (，。、；), one with a full stop in its title, one in quotes, a part
// word that begins a longer word (第二回合, 第三节课, 第八集团) or a sentence (第三章是…), and an
// indented line that reads as a sentence (ends like one, or runs on from the part word).
//
// A table of contents is not listed. A bare heading (no text before the next heading) is left out
// when a later heading with text has the same number, if it is one of three or more bare headings
// in a row (a list, whose last entry may be followed by one short line such as the author's name
// or 正文), or else the same number and title. A heading with the number of the one before it is
// that chapter again: the first is kept when it has text, else the last.
std::vector<Chapter> FindChapters(const BookText& book);

// The index of the chapter that holds `line`, or -1 for a line before the first chapter.
std::int32_t ChapterAt(const std::vector<Chapter>& chapters, std::int32_t line);

// Characters a heading may have after trimming. The headings of the classic novels run to about
// 32 (第一百二十回 and a couplet of two eight-character halves); prose is longer.
constexpr std::size_t kMaxHeadingLength = 40;

}  // namespace quillon
