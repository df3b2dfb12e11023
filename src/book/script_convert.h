#pragma once
// A book in the script its reader prefers: simplified or traditional Chinese, converted phrase by
// phrase (头发 → 頭髮, 干净 → 乾淨, 皇后 stays 皇后) by the dictionaries made for it. Only the text
// shown is converted, as it is shown, and a character's place never moves: rows and pages stay
// those of the book as read.

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "book/book_text.h"

namespace quillon {

enum class ScriptConversion { None, ToSimplified, ToTraditional };

// "t2s" and "s2t", as the choice is stored; nullopt for anything else.
std::u16string ScriptConversionName(ScriptConversion conversion);
std::optional<ScriptConversion> ScriptConversionNamed(std::u16string_view name);

// One direction of conversion, on whole texts; the one place that knows the library.
class ScriptConverter {
 public:
  // Null when the library's dictionaries cannot be read (not installed). Any thread may open one;
  // converting is for one thread at a time.
  static std::unique_ptr<ScriptConverter> Open(ScriptConversion conversion);
  ~ScriptConverter();
  ScriptConverter(const ScriptConverter&) = delete;
  ScriptConverter& operator=(const ScriptConverter&) = delete;

  std::u16string Convert(std::u16string_view text) const;
  // The same, but never changing the text's length: where the phrases would (a rare character
  // that becomes two), each character is converted on its own, and one that would still change
  // the length stays as it is.
  std::u16string ConvertInPlace(std::u16string_view text) const;
  // Each character converted on its own, as if no other stood beside it; one whose conversion
  // would change the length stays as it is.
  std::u16string ConvertEach(std::u16string_view text) const;

 private:
  explicit ScriptConverter(void* handle) : handle_(handle) {}
  void* handle_;
};

// A book's lines as shown in the other script: pieces of lines are converted when first asked for
// and kept, up to a bounded amount, so turning back and forth costs nothing and a huge book costs
// no more memory than a few pages of it.
class ConvertedBook {
 public:
  // Converted text kept at most, in UTF-16 units.
  static constexpr std::size_t kKeptUnits = 1 << 20;

  explicit ConvertedBook(std::unique_ptr<ScriptConverter> converter)
      : converter_(std::move(converter)) {}
  // Characters [offset, offset + length) of line `line` as shown: as many as the book has there.
  std::u16string Span(const BookText& book, std::int32_t line, std::int32_t offset,
                      std::int32_t length);
  std::u16string Line(const BookText& book, std::int32_t line) {
    return Span(book, line, 0, book.LineLength(line));
  }
  const ScriptConverter& Converter() const { return *converter_; }
  // Forgets what was converted, for a book whose lines have changed.
  void Forget() {
    kept_.clear();
    uses_.clear();
    keptUnits_ = 0;
  }
  std::size_t KeptUnits() const { return keptUnits_; }

 private:
  // A line is converted in pieces of about kPiece units, each ending after a punctuation mark
  // where one is near, so that a phrase is seldom cut and a piece deep in a long paragraph is
  // converted without the rest.
  static constexpr std::int32_t kPiece = 128;
  static std::int32_t PieceStart(std::u16string_view line, std::int32_t piece);
  // Converts pieces [first, last] of line `index` and keeps them.
  void Convert(std::u16string_view line, std::int32_t index, std::int32_t first, std::int32_t last);
  void Keep(std::int32_t line, std::int32_t piece, std::u16string converted);
  // A piece kept, marked as the one used last; null if it is not kept.
  const std::u16string* Kept(std::int32_t line, std::int32_t piece);

  std::unique_ptr<ScriptConverter> converter_;
  struct KeptPiece {
    std::u16string Text;
    std::list<std::uint64_t>::iterator Use;
  };
  std::unordered_map<std::uint64_t, KeptPiece> kept_;
  // The pieces kept, the one used last first.
  std::list<std::uint64_t> uses_;
  std::size_t keptUnits_ = 0;
};

}  // namespace quillon
