#pragma once
// Rounding as the reader's arithmetic has it: to the nearest whole number, an exact half to the
// even neighbour.

#include <cstdint>

namespace quillon {

// Clamped to the 32-bit range; not-a-number gives 0.
std::int32_t RoundHalfEven(double value);

}  // namespace quillon
