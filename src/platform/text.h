#pragma once
// Small conversions between numbers and the UTF-16 text of the core.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// Plain decimal: a minus sign for negative values, no blanks, no leading zeros.
std::u16string DecimalText(std::int64_t value);
// For text known to be ASCII, such as digits and fixed English names.
std::u16string AsciiText(std::string_view ascii);

}  // namespace quillon
