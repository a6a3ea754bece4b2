#pragma once

#include <cstdint>

#include "geom/cpoint2.h"

// The mouse of one frame and of the previous one: the held buttons as bits
// (1 left, 2 middle, 4 right) and the pointer position in client pixels,
// origin bottom-left, y up. The window fills it from events and ends the
// frame after drawing, so the "previous" values are those of the last frame.
class CMouseState {
 public:
  void Press(std::uint8_t mask);
  void Release(std::uint8_t mask);
  void SetPosition(int x, int y);

  bool IsDown(std::uint8_t mask) const;
  // Held now but not at the end of the previous frame.
  bool WentDown(std::uint8_t mask) const;
  // Held at the end of the previous frame but not now.
  bool WentUp(std::uint8_t mask) const;
  // Pixels moved since the previous frame, y up.
  CPoint2 GetDelta() const;

  void EndFrame();

 private:
  std::uint8_t buttons = 0;
  std::uint8_t prevButtons = 0;
  CPoint2 position{0, 0};
  CPoint2 prevPosition{0, 0};
};
