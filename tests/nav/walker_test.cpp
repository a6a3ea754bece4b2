// The walker, in scripted frames: it cannot pass through an outer wall and
// it climbs a stair by walking.

#include "nav/walker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "building/building_support.h"
#include "building/cbuilding.h"
#include "geom/outlinecheck.h"

namespace quarn {
namespace {

constexpr float kFrame = 1.0f / 60.0f;

struct Site {
  TList<CFloor> floors;
  FinishedBuilding finished;
};

Site TwoStoreySquare() {
  std::ifstream in("examples/square.quarn");
  const test::CapturedTrace quiet;
  Site site{CBuilding(CFloorSpec(ReadOutlineFile(in).loops[0], 2, 0, 45), STEP_BUDGET_UNLIMITED).floors, {}};
  site.finished = FinishBuilding(site.floors);
  return site;
}

void Walk(Walker& walker, const WalkInput& input, float yaw, float seconds) {
  for (int frame = 0; frame * kFrame < seconds; ++frame) walker.Step(input, yaw, kFrame);
}

TEST(Walker, RunsIntoEveryOuterWallForFiveSecondsAndStaysInside) {
  const Site site = TwoStoreySquare();
  const NavScale scale;
  const WalkableGeometry world = GetWalkableGeometry(site.floors, site.finished, nullptr, nullptr, scale);
  const CVector3 inside = scale.PlanToMetres(site.finished.entrance->centre.x,
                                             site.finished.entrance->centre.y, 0.1f);
  // From one step inside the entrance, toward each side but the door's.
  for (const float yaw : {0.0f, 1.5707963f, 3.1415926f}) {
    SCOPED_TRACE(yaw);
    const WalkStart start = GetWalkStart(*site.finished.entrance, scale, -1.0f);
    Walker walker(world, {}, {}, start.feet, start.yaw);
    ASSERT_EQ(FindWalkPlace(site.floors, scale, walker.GetFeet()),
              (WalkPlace{0, site.finished.entrance->room}));
    Walk(walker, {1.0f, 0.0f, true, false}, yaw, 5.0f);
    const CVector3 feet = walker.GetFeet();
    EXPECT_TRUE(FindWalkPlace(site.floors, scale, feet).has_value()) << feet;
    EXPECT_GT(feet.x, world.min.x + kGroundMargin);
    EXPECT_LT(feet.x, world.max.x - kGroundMargin);
    EXPECT_GT(feet.y, world.min.y + kGroundMargin);
    EXPECT_LT(feet.y, world.max.y - kGroundMargin);
    EXPECT_NEAR(feet.z, inside.z, 1e-3f);
  }
}

TEST(Walker, ClimbsTheStairByWalkingToTheStoreyAbove) {
  const Site site = TwoStoreySquare();
  ASSERT_TRUE(site.finished.stairs[0].has_value());
  const Stair& stair = *site.finished.stairs[0];
  const NavScale scale;
  const CVector2 foot = GetStairFoot(stair.footprint, stair.climb).GetCentre();
  const CVector2 head = GetStairHead(stair.footprint, stair.climb).GetCentre();
  const float yaw = std::atan2(head.y - foot.y, head.x - foot.x);
  Walker walker(GetWalkableGeometry(site.floors, site.finished, nullptr, nullptr, scale), {}, {},
                scale.PlanToMetres(foot.x, foot.y, 0.1f), yaw);
  ASSERT_EQ(FindWalkPlace(site.floors, scale, walker.GetFeet()), (WalkPlace{0, stair.roomBelow}));
  Walk(walker, {1.0f, 0.0f, false, false}, yaw, 6.0f);
  EXPECT_EQ(FindWalkPlace(site.floors, scale, walker.GetFeet()), (WalkPlace{1, stair.roomAbove}));
  EXPECT_NEAR(walker.GetFeet().z, scale.storeyHeight + 0.1f, 1e-3f);
  // And back down, falling through nothing on the way.
  Walk(walker, {-1.0f, 0.0f, false, false}, yaw, 8.0f);
  EXPECT_EQ(FindWalkPlace(site.floors, scale, walker.GetFeet()), (WalkPlace{0, stair.roomBelow}));
}

}  // namespace
}  // namespace quarn
