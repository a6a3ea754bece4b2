#include "app/ccamera.h"

#include <gtest/gtest.h>

namespace {

struct RotateCase {
  const char* name;
  int startDx;  // a first rotation, from heading 0
  int dx;
  int dy;
  float heading;
  float pitch;
};

TEST(CCamera, RotationWrapsHeadingAndLimitsPitch) {
  const RotateCase cases[] = {
      {"one pixel left from 0 wraps", 0, -1, 0, 359.6f, 0},
      {"no movement at 0 becomes 360", 0, 0, 0, 360, 0},
      {"exactly back to 0 becomes 360", 225, -225, 0, 360, 0},
      {"a full turn stays", 225, 900, 0, 90, 0},
      {"beyond 360 wraps", 0, 901, 0, 0.4f, 0},
      {"several turns backwards", 25, -2700, 0, 10, 0},
      {"pitch up", 0, 0, 100, 360, 40},
      {"pitch beyond the top stays 89", 0, 0, 1000, 360, 89},
      {"pitch beyond the bottom stays -89", 0, 0, -223, 360, -89},
  };
  for (const RotateCase& c : cases) {
    CCamera camera(CVector3(0, 0, 0));
    camera.Rotate(c.startDx, 0);
    camera.Rotate(c.dx, c.dy);
    EXPECT_NEAR(camera.GetHeading(), c.heading, 1e-3) << c.name;
    EXPECT_NEAR(camera.GetPitch(), c.pitch, 1e-3) << c.name;
  }
}

TEST(CCamera, PitchLimitHoldsOverManySmallSteps) {
  CCamera camera(CVector3(0, 0, 0));
  for (int i = 0; i < 1000; ++i) camera.Rotate(0, 1);
  EXPECT_EQ(camera.GetPitch(), 89.0f);
  camera.Rotate(0, -5);
  EXPECT_NEAR(camera.GetPitch(), 87.0f, 1e-4) << "the limit does not stick";
}

struct MoveCase {
  const char* name;
  int dx;  // rotation before the move, pixels
  int dy;
  float amount;
  CVector3 moved;
};

TEST(CCamera, MoveForwardFollowsHeadingAndPitch) {
  const MoveCase cases[] = {
      {"heading 360, pitch 0: along +y", 0, 0, 10, CVector3(0, 7, 0)},
      {"backwards", 0, 0, -10, CVector3(0, -7, 0)},
      {"heading 90: along +x", 225, 0, 10, CVector3(7, 0, 0)},
      {"heading 180: along -y", 450, 0, 1, CVector3(0, -0.7f, 0)},
      {"pitch 40 up: forward and down", 0, 100, 10, CVector3(0, 5.36231f, -4.49951f)},
      {"pitch 89: almost all along -z", 0, 1000, 10, CVector3(0, 0.12217f, -6.99893f)},
  };
  for (const MoveCase& c : cases) {
    CCamera camera(CVector3(5, -80, 10));
    camera.Rotate(c.dx, c.dy);
    camera.MoveForward(c.amount);
    const CVector3 moved = camera.GetPosition() - CVector3(5, -80, 10);
    EXPECT_NEAR(moved.x, c.moved.x, 1e-3) << c.name;
    EXPECT_NEAR(moved.y, c.moved.y, 1e-3) << c.name;
    EXPECT_NEAR(moved.z, c.moved.z, 1e-3) << c.name;
  }
}

}  // namespace
