#include "platform/text.h"

namespace quillon {

std::u16string DecimalText(std::int64_t value) {
  return AsciiText(std::to_string(value));
}

std::u16string AsciiText(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace quillon
