#include "building/cfloor.h"

#include <string>

#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building_support.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::Box;
using quarn::test::BoxOutline;
using quarn::test::CapturedTrace;

int PolygonArea(const CPolygon2& polygon) {
  const CBox2List boxes = polygon.GetAsBoxList();
  int area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) area += boxes[i].GetArea();
  return area;
}

CBuilding Generate(const CPolygon2& outline, unsigned roomSize, unsigned variance, std::uint32_t budget,
                   quarn::DesignObserver& observer) {
  return CBuilding(CFloorSpec(outline, 1, variance, roomSize), budget, observer);
}

TEST(FloorDesign, WithoutABudgetTheOutlineStaysOnePendingRegionOfCells) {
  CapturedTrace trace;
  CBuilding building = Generate(BoxOutline(0, 0, 15, 15), 45, 0, 0, trace);
  ASSERT_EQ(building.floors.GetSize(), 1);
  const CFloor& floor = building.floors[0];
  EXPECT_EQ(floor.rooms.GetSize(), 0);
  EXPECT_EQ(floor.walls.GetSize(), 0);
  EXPECT_EQ(floor.slabs.GetSize(), 0);
  EXPECT_EQ(floor.candidateBoxes.GetSize(), 0);
  ASSERT_EQ(floor.pendingRegions.GetSize(), 1);
  const CBox2List cells = floor.pendingRegions[0].GetBoxList();
  ASSERT_EQ(cells.GetSize(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(cells[i].GetMin(), CPoint2(5 * (i % 3), 5 * (i / 3))) << "cell " << i;
    EXPECT_EQ(cells[i].GetSize(), CPoint2(5, 5)) << "cell " << i;
  }
  EXPECT_EQ(trace.Text(), "");
}

TEST(FloorDesign, OneStepMakesTheSeedAndRecordsItsCandidates) {
  CapturedTrace trace;
  CBuilding building = Generate(BoxOutline(0, 0, 15, 15), 45, 0, 1, trace);
  const CFloor& floor = building.floors[0];
  ASSERT_EQ(floor.rooms.GetSize(), 1);
  const CRoom& room = floor.rooms[0];
  EXPECT_FALSE(room.IsComplete());
  EXPECT_EQ(room.outline.GetExtents().GetMin(), CPoint2(0, 0));
  EXPECT_EQ(room.outline.GetExtents().GetMax(), CPoint2(5, 5));
  EXPECT_EQ(room.outline.GetSize(), 4);
  // The two cells touching the seed tie; the zeros come first, then the tie
  // in source order.
  EXPECT_EQ(trace.Text(), "\n=============\n0\n0\n0\n0\n0\n0\n0.505132\n0.505132\n\n---\n");
  ASSERT_EQ(floor.candidateBoxes.GetSize(), 2);
  ASSERT_EQ(floor.candidateScores.GetSize(), 2);
  EXPECT_EQ(floor.candidateBoxes[0].GetMin(), CPoint2(5, 0));
  EXPECT_EQ(floor.candidateBoxes[1].GetMin(), CPoint2(0, 5));
  EXPECT_EQ(floor.candidateScores[0], floor.candidateScores[1]);
  ASSERT_EQ(floor.pendingRegions.GetSize(), 1);
  EXPECT_EQ(floor.pendingRegions[0].GetArea(), 200u);
  // The lone seed stands in four outer walls, each long enough for a window.
  ASSERT_EQ(floor.walls.GetSize(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(floor.walls[i].GetRoomCount(), 1) << "wall " << i;
    EXPECT_EQ(floor.walls[i].pieces.GetSize(), 4) << "wall " << i;
  }
  ASSERT_EQ(floor.slabs.GetSize(), 1);
  ASSERT_EQ(floor.slabs[0].GetSize(), 1);
  EXPECT_TRUE(quarn::test::SameBox3(floor.slabs[0][0], {0, 0, -0.05f, 5, 5, 0.05f}));
}

TEST(FloorDesign, SquareOfNineCellsMakesRoomsOfTwoCells) {
  CapturedTrace trace;
  CBuilding building = Generate(BoxOutline(0, 0, 15, 15), 45, 0, STEP_BUDGET_UNLIMITED, trace);
  const CFloor& floor = building.floors[0];
  // Seeds go to dead ends and corners; the first room's two candidates tie
  // and the later one joins. The last cell is left alone, short of 45.
  const CBox2 expected[] = {Box(0, 0, 5, 10), Box(0, 10, 10, 15), Box(10, 5, 15, 15), Box(5, 0, 15, 5),
                            Box(5, 5, 10, 10)};
  ASSERT_EQ(floor.rooms.GetSize(), 5);
  for (int i = 0; i < 5; ++i) {
    const CPolygon2& outline = floor.rooms[i].outline;
    EXPECT_EQ(outline.GetSize(), 4) << "room " << i;
    EXPECT_EQ(outline.GetExtents().GetMin(), expected[i].GetMin()) << "room " << i;
    EXPECT_EQ(outline.GetExtents().GetMax(), expected[i].GetMax()) << "room " << i;
    EXPECT_TRUE(floor.rooms[i].IsComplete()) << "room " << i;
  }
  std::string reached;
  for (int i = 0; i < 4; ++i) reached += "\n=============\nROOM COMPLETE\n";
  EXPECT_EQ(trace.Text(), reached + "\n=============\n");
  EXPECT_EQ(floor.pendingRegions.GetSize(), 0);
}

TEST(FloorDesign, RoomsStopAtTheirRegionWhenTheTargetIsOutOfReach) {
  struct Case {
    const char* name;
    CPolygon2 outline;
    unsigned roomSize, variance;
    int area;
  };
  // Variance 50 seeds with 95, whose first draw (348) wraps the target.
  const Case cases[] = {
      {"one cell, target 45", BoxOutline(0, 0, 5, 5), 45, 0, 25},
      {"wrapped target takes the square", BoxOutline(0, 0, 15, 15), 45, 50, 225},
  };
  for (const auto& c : cases) {
    CapturedTrace trace;
    CBuilding building = Generate(c.outline, c.roomSize, c.variance, STEP_BUDGET_UNLIMITED, trace);
    const CFloor& floor = building.floors[0];
    ASSERT_EQ(floor.rooms.GetSize(), 1) << c.name;
    EXPECT_EQ(PolygonArea(floor.rooms[0].outline), c.area) << c.name;
    EXPECT_TRUE(floor.rooms[0].IsComplete()) << c.name;
    EXPECT_EQ(floor.pendingRegions.GetSize(), 0) << c.name;
    EXPECT_EQ(floor.candidateBoxes.GetSize(), 0) << c.name;
    EXPECT_EQ(trace.Text(), "\n=============\n") << c.name;
  }
}

TEST(FloorDesign, AnOutlineWithoutCellsEndsTheDesignInsteadOfCrashing) {
  quarn::test::CountingAssertions assertions;
  CapturedTrace trace;
  CBuilding building = Generate(quarn::test::Polygon({{0, 0}, {0, 5}, {5, 5}}), 45, 0, STEP_BUDGET_UNLIMITED, trace);
  EXPECT_GT(assertions.Count(), 0);
  ASSERT_EQ(building.floors.GetSize(), 1);
  EXPECT_EQ(building.floors[0].rooms.GetSize(), 0);
  EXPECT_EQ(building.floors[0].pendingRegions.GetSize(), 0);
}

TEST(FloorCopy, BackReferencesFollowTheCopy) {
  CapturedTrace trace;
  CBuilding building = Generate(BoxOutline(0, 0, 10, 5), 25, 0, STEP_BUDGET_UNLIMITED, trace);
  const CFloor copy = building.floors[0];
  ASSERT_EQ(copy.rooms.GetSize(), 2);
  for (int i = 0; i < copy.rooms.GetSize(); ++i) EXPECT_EQ(copy.rooms[i].floor, &copy);
  for (int i = 0; i < copy.walls.GetSize(); ++i) {
    const CWall& wall = copy.walls[i];
    EXPECT_EQ(wall.floor, &copy);
    EXPECT_NE(copy.GetRoomIndex(wall.pair.first), TLIST_NO_INDEX) << "wall " << i;
    if (wall.pair.second != nullptr) {
      EXPECT_NE(copy.GetRoomIndex(wall.pair.second), TLIST_NO_INDEX) << "wall " << i;
    }
  }
  CFloor assigned = building.floors[0];
  assigned = copy;
  EXPECT_EQ(assigned.GetRoomIndex(assigned.walls[0].pair.first), 0);
  EXPECT_EQ(assigned.GetRoomIndex(copy.walls[0].pair.first), TLIST_NO_INDEX);
}

TEST(FloorColours, PaletteShadeDarkensEveryChannel) {
  struct Case {
    unsigned index, shade;
    CColour expected;
  };
  const float seventh = 1.0f / 7.0f;
  const Case cases[] = {
      {0, 1, CColour(3 * seventh, 0, 0, 3 * seventh)},
      {1, 0, CColour(2 * seventh, seventh, 0, 2 * seventh)},
      {12, 9, CColour(6 * seventh, 6 * seventh, 6 * seventh, 6 * seventh)},
      {8, 4, CColour(6 * seventh, 6 * seventh, 6 * seventh, 6 * seventh)},
      {6, 2, CColour(0.5f * 4 * seventh, 0, 4 * seventh, 4 * seventh)},
  };
  for (const auto& c : cases) {
    const CColour got = PaletteShade(c.index, c.shade);
    EXPECT_NEAR(got.r, c.expected.r, 1e-6f) << c.index << "," << c.shade;
    EXPECT_NEAR(got.g, c.expected.g, 1e-6f) << c.index << "," << c.shade;
    EXPECT_NEAR(got.b, c.expected.b, 1e-6f) << c.index << "," << c.shade;
    EXPECT_NEAR(got.a, c.expected.a, 1e-6f) << c.index << "," << c.shade;
  }
  EXPECT_EQ(PaletteShade(12, 9), PaletteShade(8, 4));
  EXPECT_EQ(CFloor::WALL_COLOUR, CColour(0.8f, 0.5f, 0.0f, 1.0f));
  EXPECT_EQ(CFloor::SLAB_COLOUR, CColour(0.5f, 0.6f, 0.7f, 1.0f));
}

}  // namespace
