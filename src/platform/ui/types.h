#pragma once
// Value types shared by the form kit: colours, fonts, pictures and the property ids that tell an
// observer what changed.

#include <cstdint>
#include <memory>
#include <string>

namespace quillon::ui {

// red + 256 * green + 65536 * blue, as the settings file stores colours.
using Color = std::int32_t;

constexpr Color RGB(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue;
}
constexpr int RedOf(Color color) {
  return color & 0xFF;
}
constexpr int GreenOf(Color color) {
  return (color >> 8) & 0xFF;
}
constexpr int BlueOf(Color color) {
  return (color >> 16) & 0xFF;
}

// Colours with the top bit set name a colour of the desktop theme rather than an RGB value.
constexpr Color kSystemColorFlag = static_cast<Color>(0x80000000u);
constexpr Color kColorActiveTitleBar = kSystemColorFlag | 2;
constexpr Color kColorButtonFace = kSystemColorFlag | 15;
constexpr Color kColorWindowText = kSystemColorFlag | 8;
constexpr Color kColorWindow = kSystemColorFlag | 5;

struct FontSpec {
  std::u16string Name = u"宋体";
  float Size = 9.0f;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;

  bool operator==(const FontSpec& other) const {
    return Name == other.Name && Size == other.Size && Bold == other.Bold &&
           Italic == other.Italic && Underline == other.Underline;
  }
  bool operator!=(const FontSpec& other) const { return !(*this == other); }
};

// A loaded picture or cursor. The backend that loaded it knows what is inside; the core only
// passes it around and remembers where it came from.
class Picture {
 public:
  explicit Picture(std::u16string source) : source_(std::move(source)) {}
  virtual ~Picture() = default;
  const std::u16string& Source() const { return source_; }

 private:
  std::u16string source_;
};
using PicturePtr = std::shared_ptr<const Picture>;

enum class Prop {
  Geometry,
  Visible,
  Enabled,
  Caption,
  Font,
  ForeColor,
  BackColor,
  BackStyle,
  BorderStyle,
  BorderColor,
  Alignment,
  Picture,
  Value,
  Range,
  List,
  Text,
  Interval,
  ToolTip,
  Buttons,
  MousePointer,
  Icon,
  Locked,
  Fit,
  Highlight,
  TopIndex,
};

enum class MousePointer { Default = 0, Arrow = 1, Custom = 99 };

enum class Alignment { Left = 0, Right = 1, Center = 2 };

// Key codes of the keyboard events, as the classic forms runtime numbers them.
namespace keys {
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Delete = 46;
constexpr int F3 = 114;
constexpr int F5 = 116;
}  // namespace keys

}  // namespace quillon::ui
