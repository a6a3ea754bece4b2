#include "app/cmousestate.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t kLeft = 1;
constexpr std::uint8_t kMiddle = 2;
constexpr std::uint8_t kRight = 4;

// The buttons held at the end of the previous frame and now, and the
// transitions seen for the left button.
struct EdgeCase {
  std::uint8_t before;
  std::uint8_t now;
  bool isDown;
  bool wentDown;
  bool wentUp;
};

TEST(CMouseState, ButtonEdgesBetweenFrames) {
  const EdgeCase cases[] = {
      {0, 0, false, false, false},
      {0, kLeft, true, true, false},
      {kLeft, kLeft, true, false, false},
      {kLeft, 0, false, false, true},
      {kRight, kRight | kLeft, true, true, false},
      {kLeft | kMiddle, kMiddle, false, false, true},
      {kRight, 0, false, false, false},
  };
  for (const EdgeCase& c : cases) {
    CMouseState mouse;
    mouse.Press(c.before);
    mouse.EndFrame();
    mouse.Release(static_cast<std::uint8_t>(c.before & ~c.now));
    mouse.Press(c.now);
    const int id = c.before * 8 + c.now;
    EXPECT_EQ(mouse.IsDown(kLeft), c.isDown) << id;
    EXPECT_EQ(mouse.WentDown(kLeft), c.wentDown) << id;
    EXPECT_EQ(mouse.WentUp(kLeft), c.wentUp) << id;
  }
}

TEST(CMouseState, PressAndReleaseInOneFrameLeaveNoEdge) {
  CMouseState mouse;
  mouse.Press(kLeft);
  mouse.Release(kLeft);
  EXPECT_FALSE(mouse.WentDown(kLeft));
  EXPECT_FALSE(mouse.WentUp(kLeft));
}

TEST(CMouseState, ReleaseKeepsOtherButtons) {
  CMouseState mouse;
  mouse.Press(kLeft | kRight);
  mouse.Release(kLeft);
  EXPECT_FALSE(mouse.IsDown(kLeft));
  EXPECT_TRUE(mouse.IsDown(kRight));
  EXPECT_TRUE(mouse.IsDown(kLeft | kRight));  // any of the mask
}

TEST(CMouseState, DeltaIsTheMovementSinceTheLastFrame) {
  CMouseState mouse;
  EXPECT_EQ(mouse.GetDelta(), CPoint2(0, 0));
  mouse.SetPosition(10, 20);
  mouse.SetPosition(15, 18);  // only the last position of a frame counts
  EXPECT_EQ(mouse.GetDelta(), CPoint2(15, 18));
  mouse.EndFrame();
  EXPECT_EQ(mouse.GetDelta(), CPoint2(0, 0));
  mouse.Press(kLeft);
  mouse.EndFrame();
  EXPECT_EQ(mouse.GetDelta(), CPoint2(0, 0)) << "holding a button is no movement";
  mouse.SetPosition(5, 30);
  EXPECT_EQ(mouse.GetDelta(), CPoint2(-10, 12));
}

}  // namespace
