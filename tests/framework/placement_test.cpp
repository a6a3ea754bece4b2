#include "placement.h"

#include <gtest/gtest.h>

namespace quarn::fw {
namespace {

struct PlacementCase {
  const char* name;
  ScreenRect area;
  int width, height;
  FrameBorders borders;
  ScreenPoint centred;
};

// The centred frame lies inside the area whenever it fits, and the window
// the old placement left at (352, 264) on 1024 x 768 did not.
TEST(Placement, CentresTheFrameOnTheDisplay) {
  const PlacementCase cases[] = {
      {"BareOnXvfb", {0, 0, 1024, 768}, 800, 600, {}, {112, 84}},
      {"FramedOnALaptop", {0, 0, 1366, 728}, 800, 600, {1, 30, 1, 1}, {283, 78}},
      {"SecondDisplay", {1024, 0, 1920, 1080}, 800, 600, {}, {1584, 240}},
      {"ExactFit", {0, 0, 800, 600}, 800, 600, {}, {0, 0}},
      {"TooTallKeepsTheTitleBar", {0, 0, 1024, 600}, 800, 600, {2, 30, 2, 2}, {112, 30}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenPoint at = CentredClientOrigin(c.area, c.width, c.height, c.borders);
    EXPECT_EQ(at, c.centred);
    const bool fits = c.width + c.borders.left + c.borders.right <= c.area.width &&
                      c.height + c.borders.top + c.borders.bottom <= c.area.height;
    EXPECT_EQ(FrameInside(c.area, {at.x, at.y, c.width, c.height}, c.borders), fits);
  }
  EXPECT_FALSE(FrameInside({0, 0, 1024, 768}, {352, 264, 800, 600}, {}));
  EXPECT_FALSE(FrameInside({0, 0, 1024, 768}, {0, 10, 800, 600}, {0, 30, 0, 0}));
}

}  // namespace
}  // namespace quarn::fw
