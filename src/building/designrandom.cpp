#include "building/designrandom.h"

#include <limits>

namespace quarn {
namespace {

// double -> int32 truncating toward zero; values beyond the range saturate
// instead of being undefined.
std::int32_t TruncateToInt32(double value) {
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::uint32_t RoomTargetArea(std::uint32_t roomSize, std::uint32_t roomSizeVariance, int draw) {
  const double r = (draw - 16383) / 16383.0;
  const std::int32_t deviation = TruncateToInt32(roomSizeVariance * r);
  return roomSize + static_cast<std::uint32_t>(deviation);
}

}  // namespace quarn
