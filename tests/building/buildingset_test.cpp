#include "building/buildingset.h"

#include <gtest/gtest.h>

#include "building_support.h"

namespace {

using quarn::BuildingSet;
using quarn::test::BoxOutline;
using quarn::test::CapturedTrace;
using quarn::test::Describe;

TList<CPolygon2> TwoLoops() {
  TList<CPolygon2> loops;
  loops.Add(BoxOutline(0, 0, 15, 15));
  loops.Add(BoxOutline(20, 0, 30, 5));
  return loops;
}

TEST(BuildingSet, BuildMakesOneUndesignedBuildingPerLoop) {
  CapturedTrace trace;
  BuildingSet set;
  set.observer = &trace.Observer();
  set.Build(TwoLoops());
  EXPECT_EQ(set.step, 0u);
  ASSERT_EQ(set.specs.GetSize(), 2);
  ASSERT_EQ(set.buildings.GetSize(), 2);
  const TList<CPolygon2> loops = TwoLoops();
  for (int i = 0; i < 2; ++i) {
    const CFloorSpec& spec = set.specs[i];
    EXPECT_EQ(spec.outline, loops[i]) << "spec " << i;
    EXPECT_EQ(spec.storeys, 1u);
    EXPECT_EQ(spec.roomSizeVariance, 0u);
    EXPECT_EQ(spec.roomSize, 45u);
    ASSERT_EQ(set.buildings[i].GetSize(), 1) << "building " << i;
    EXPECT_EQ(set.buildings[i][0].rooms.GetSize(), 0) << "building " << i;
    EXPECT_EQ(set.buildings[i][0].pendingRegions.GetSize(), 1) << "building " << i;
  }
  EXPECT_EQ(trace.Text(), "");
}

TEST(BuildingSet, SteppingForwardAndBackReplaysTheSameDesign) {
  CapturedTrace trace;
  BuildingSet set;
  set.observer = &trace.Observer();
  set.Build(TwoLoops());
  const std::string start = Describe(set.buildings[0][0]);
  set.StepBack();
  EXPECT_EQ(set.step, 0u);
  EXPECT_EQ(Describe(set.buildings[0][0]), start);

  set.StepForward();
  EXPECT_EQ(set.step, 1u);
  ASSERT_EQ(set.buildings[0][0].rooms.GetSize(), 1);
  EXPECT_FALSE(set.buildings[0][0].rooms[0].IsComplete());
  // The step budget is per building: each building makes its first seed.
  EXPECT_EQ(set.buildings[1][0].rooms.GetSize(), 1);
  const std::string one = Describe(set.buildings[0][0]);

  set.StepBack();
  EXPECT_EQ(Describe(set.buildings[0][0]), start);
  set.SetStep(7);
  const std::string seven = Describe(set.buildings[0][0]);
  set.SetStep(7);
  EXPECT_EQ(Describe(set.buildings[0][0]), seven);
  set.SetStep(1);
  EXPECT_EQ(Describe(set.buildings[0][0]), one);

  set.Build(TwoLoops());
  EXPECT_EQ(set.step, 0u);
  EXPECT_EQ(Describe(set.buildings[0][0]), start);
}

// The last step is where the longest design ends: the same buildings and
// trace as stepping there, one step more changes nothing, one less does.
TEST(BuildingSet, TheLastStepEndsTheLongestDesign) {
  BuildingSet last;
  last.Build(TwoLoops());
  CapturedTrace lastTrace;
  last.observer = &lastTrace.Observer();
  last.SetLastStep();
  const std::string lastText = lastTrace.Text();
  const std::uint32_t n = last.step;
  ASSERT_GT(n, 1u);

  BuildingSet stepped;
  stepped.Build(TwoLoops());
  std::string steppedText;
  {
    CapturedTrace steppedTrace;
    stepped.observer = &steppedTrace.Observer();
    stepped.SetStep(n);
    steppedText = steppedTrace.Text();
    stepped.observer = nullptr;
  }
  EXPECT_EQ(lastText, steppedText);
  for (const std::uint32_t step : {n, n + 1, STEP_BUDGET_UNLIMITED}) {
    stepped.SetStep(step);
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(Describe(stepped.buildings[i][0]), Describe(last.buildings[i][0])) << step;
  }
  stepped.SetStep(n - 1);
  EXPECT_NE(Describe(stepped.buildings[0][0]), Describe(last.buildings[0][0]))
      << "the longest design is the first building's";
}

TEST(BuildingSet, NoLoopsGiveNoBuildings) {
  BuildingSet set;
  set.Build(TwoLoops());
  set.Build(TList<CPolygon2>());
  EXPECT_EQ(set.specs.GetSize(), 0);
  EXPECT_EQ(set.buildings.GetSize(), 0);
  set.StepForward();
  EXPECT_EQ(set.buildings.GetSize(), 0);
}

}  // namespace
