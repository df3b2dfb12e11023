#include "platform/rounding.h"

#include <cmath>
#include <limits>

namespace quillon {

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double lowest = std::numeric_limits<std::int32_t>::min();
  const double highest = std::numeric_limits<std::int32_t>::max();
  // The floating-point environment rounds to nearest with ties to even, and nothing changes it.
  const double nearest = std::nearbyint(value);
  if (nearest <= lowest) return std::numeric_limits<std::int32_t>::min();
  if (nearest >= highest) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(nearest);
}

}  // namespace quillon
