#pragma once
// How many characters make a row and how many rows a page: the reader does not measure text, it
// looks the figures up for the layout, the font size, bold and the screen.

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

struct RowMetrics {
  std::int16_t PageRows = 0;
  std::int16_t RowChars = 0;
};

// nullopt for a font size other than 18, 16, 14, 12, 10.5 and 9, or a screen mode other than the
// four the reader supports.
std::optional<RowMetrics> LookupRowMetrics(bool fullScreen, float fontSize,
                                           const std::u16string& screenMode, bool bold);

}  // namespace quillon
