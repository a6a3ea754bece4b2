#pragma once

// Where a top-level window goes on its display: pure arithmetic on screen
// rectangles (pixels, origin top-left, y down), no window or display needed.
// Positions are those of the client area's top-left corner, as SDL takes
// them; the frame adds the borders the window manager draws around it.

#include <ostream>

namespace quarn::fw {

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Border thicknesses around the client area; all 0 without a window manager.
struct FrameBorders {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;

  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

std::ostream& operator<<(std::ostream& os, const ScreenPoint& p);

// Whether the frame around client lies wholly inside area.
bool FrameInside(const ScreenRect& area, const ScreenRect& client, const FrameBorders& borders);

// The client position that centres the frame around a client area of width
// x height in area. On an axis where the frame is larger than the area, the
// frame's top or left edge goes to the area's (the title bar stays
// reachable).
ScreenPoint CentredClientOrigin(const ScreenRect& area, int width, int height,
                                const FrameBorders& borders);

}  // namespace quarn::fw
