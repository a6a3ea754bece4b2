#pragma once

#include <cstdint>
#include <vector>

namespace quarn::pictures {

// An RGB picture, 3 bytes per pixel red first, rows bottom-up.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  Picture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* At(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* At(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

}  // namespace quarn::pictures
