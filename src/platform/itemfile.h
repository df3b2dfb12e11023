#pragma once
// The one reader and writer of comma-separated items, shared by the settings, last-read and
// history files and by book loading. It works on decoded text; codepage turns it into bytes.
//
// Items end at an ASCII comma or a line end (CR LF, CR or LF). ASCII spaces before an item are
// skipped. An item that begins with a double quote runs to the next double quote (commas inside
// belong to it) and is taken without the quotes. An empty line is one empty item, and a last line
// without a line end still counts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/datetime.h"

namespace quillon::itemfile {

struct Item {
  std::u16string Text;
  bool Quoted = false;  // written as a string; "#TRUE#" in quotes is text, not a boolean
};

// Where an item lies in the text: its characters are [Start, Start + Length) followed, for a
// quoted item with text after its closing quote, by [TailStart, TailStart + TailLength).
struct ItemSpan {
  std::size_t Start = 0;
  std::size_t Length = 0;
  std::size_t TailStart = 0;
  std::size_t TailLength = 0;
  bool Quoted = false;
  bool EndsAtComma = false;  // the next item is on the same line of the file
};

class ItemReader {
 public:
  explicit ItemReader(std::u16string_view text) : text_(text) {}

  // True once every character has been consumed, as after the line end of the last line.
  bool AtEnd() const { return position_ >= text_.size(); }

  // The next item; at the end, an empty item.
  Item Next();
  // The same item as a place in the text, for a caller that keeps views instead of copies.
  ItemSpan NextSpan();

 private:
  std::u16string_view text_;
  std::size_t position_ = 0;
};

// Conversions of one item to the type of the field it is read into. nullopt when the item does
// not convert: a caller keeps the field's previous value then.
std::optional<std::int16_t> ToInt16(const Item& item);
std::optional<std::int32_t> ToInt32(const Item& item);
std::optional<float> ToSingle(const Item& item);
std::optional<bool> ToBool(const Item& item);
std::optional<DateTime> ToDateTime(const Item& item);

// A single-precision number as the files hold it: period, at most 7 significant digits, no
// trailing zeros, no "0" before the point of a value between -1 and 1 ("10.5", "9", ".5", "-.25").
std::u16string FormatSingle(float value);

class ItemWriter {
 public:
  void WriteString(std::u16string_view text);  // in double quotes; quotes inside are not escaped
  void WriteInt(std::int64_t value);
  void WriteSingle(float value);
  void WriteBool(bool value);                 // #TRUE# / #FALSE#
  void WriteDateTime(const DateTime& value);  // #yyyy-mm-dd hh:mm:ss#, or #yyyy-mm-dd# at midnight
  void EndLine();                             // CR LF

  const std::u16string& Text() const { return text_; }

 private:
  void Separate();
  std::u16string text_;
  bool lineHasItem_ = false;
};

}  // namespace quillon::itemfile
