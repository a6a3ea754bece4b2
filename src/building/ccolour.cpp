#include "building/ccolour.h"

std::ostream& operator<<(std::ostream& os, const CColour& colour) {
  return os << "rgba(" << colour.r << ',' << colour.g << ',' << colour.b << ',' << colour.a << ')';
}

CColour Palette(unsigned index) {
  static constexpr CColour kColours[] = {
      {1.0f, 0.0f, 0.0f}, {1.0f, 0.5f, 0.0f}, {1.0f, 1.0f, 0.0f},
      {0.0f, 1.0f, 0.0f}, {0.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 1.0f},
      {0.5f, 0.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f},
  };
  constexpr unsigned kLast = sizeof(kColours) / sizeof(kColours[0]) - 1;
  return kColours[index < kLast ? index : kLast];
}
