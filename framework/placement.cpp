#include "placement.h"

#include <cstdint>

namespace quarn::fw {
namespace {

// Start of a frame of the given length centred in [start, start + room), or
// at start when it does not fit.
int CentredStart(int start, int room, int length) {
  return length >= room ? start : start + (room - length) / 2;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const ScreenPoint& p) {
  return os << '(' << p.x << ',' << p.y << ')';
}

bool FrameInside(const ScreenRect& area, const ScreenRect& client, const FrameBorders& borders) {
  const std::int64_t left = std::int64_t{client.x} - borders.left;
  const std::int64_t top = std::int64_t{client.y} - borders.top;
  const std::int64_t right = std::int64_t{client.x} + client.width + borders.right;
  const std::int64_t bottom = std::int64_t{client.y} + client.height + borders.bottom;
  return left >= area.x && top >= area.y && right <= std::int64_t{area.x} + area.width &&
         bottom <= std::int64_t{area.y} + area.height;
}

ScreenPoint CentredClientOrigin(const ScreenRect& area, int width, int height,
                                const FrameBorders& borders) {
  const int frameWidth = width + borders.left + borders.right;
  const int frameHeight = height + borders.top + borders.bottom;
  return {CentredStart(area.x, area.width, frameWidth) + borders.left,
          CentredStart(area.y, area.height, frameHeight) + borders.top};
}

}  // namespace quarn::fw
