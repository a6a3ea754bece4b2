#include "building/cbuilding.h"

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "building_support.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::BoxOutline;
using quarn::test::CapturedTrace;
using quarn::test::RandomOutline;

std::string Text(const CPolygon2& polygon) {
  std::ostringstream text;
  text << polygon;
  return text.str();
}

int Area(const CBox2List& boxes) {
  int area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) area += boxes[i].GetArea();
  return area;
}

float Volume(const TList<CBox3>& boxes) {
  float volume = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) {
    const CVector3 size = boxes[i].GetMax() - boxes[i].GetMin();
    volume += size.x * size.y * size.z;
  }
  return volume;
}

constexpr unsigned kOutlines = 24;

// Room sizes from small to larger than most outlines, some with variance.
CFloorSpec RandomSpec(unsigned seed) {
  const std::uint32_t roomSizes[] = {45, 20, 80, 150};
  const std::uint32_t variances[] = {0, 10, 30};
  return CFloorSpec(RandomOutline(seed), 1, variances[seed % 3], roomSizes[seed % 4]);
}

TEST(BuildingLaws, AFinishedDesignPartitionsTheOutlineIntoWalledRooms) {
  for (unsigned seed = 1; seed <= kOutlines; ++seed) {
    const CFloorSpec spec = RandomSpec(seed);
    const CPolygon2& outline = spec.outline;
    SCOPED_TRACE("outline " + Text(outline) + " room size " + std::to_string(spec.roomSize));
    quarn::test::CountingAssertions assertions;
    CBuilding building(spec, STEP_BUDGET_UNLIMITED);
    EXPECT_EQ(assertions.Count(), 0) << assertions.LastUnit();
    EXPECT_EQ(building.budget.steps, STEP_BUDGET_UNLIMITED);
    const CFloor& floor = building.floors[0];
    EXPECT_EQ(floor.pendingRegions.GetSize(), 0);
    EXPECT_EQ(floor.candidateBoxes.GetSize(), 0);
    EXPECT_EQ(floor.candidateScores.GetSize(), 0);
    ASSERT_EQ(floor.slabs.GetSize(), floor.rooms.GetSize());

    int roomArea = 0;
    int edges = 0;
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      const CRoom& room = floor.rooms[r];
      const CBox2List boxes = room.outline.GetAsBoxList();
      EXPECT_TRUE(room.IsComplete()) << "room " << r;
      roomArea += Area(boxes);
      for (int o = r + 1; o < floor.rooms.GetSize(); ++o) {
        EXPECT_EQ(boxes.Intersection(floor.rooms[o].outline.GetAsBoxList()).GetSize(), 0)
            << "rooms " << r << " and " << o << " overlap";
      }
      EXPECT_EQ(Area(room.wallOutline.GetAsBoxList()), Area(boxes)) << "room " << r;
      const float slabArea = Volume(floor.slabs[r]) / 0.1f;
      EXPECT_NEAR(slabArea, static_cast<float>(Area(boxes)), 1e-3f * slabArea) << "room " << r;

      for (int j = 0; j < room.wallOutline.GetSize(); ++j, ++edges) {
        const CEdge2 edge = room.wallOutline.GetEdge(j);
        int matches = 0;
        for (int w = 0; w < floor.walls.GetSize(); ++w) {
          const CWall& wall = floor.walls[w];
          if (!(wall.edge == edge)) continue;
          ++matches;
          EXPECT_TRUE(wall.pair.first == &room || wall.pair.second == &room) << "room " << r << " edge " << j;
        }
        EXPECT_EQ(matches, 1) << "room " << r << " edge " << j;
      }
    }
    EXPECT_EQ(roomArea, Area(outline.GetAsBoxList()));

    int sides = 0;
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const CWall& wall = floor.walls[w];
      sides += wall.GetRoomCount();
      const bool opening = wall.GetRoomCount() == 2 || wall.GetLength() > 1.2f;
      const float solid = Volume(wall.solid);
      EXPECT_EQ(Volume(wall.pieces) < solid - 1e-4f, opening) << "wall " << w;
    }
    EXPECT_EQ(sides, edges);
  }
}

// Budget n + 1 makes the decisions of budget n and one more: the seed of a
// new room from the largest pending region, or the best recorded candidate.
TEST(BuildingLaws, EveryStepAddsExactlyOneCellDecision) {
  for (unsigned seed = 1; seed <= kOutlines / 3; ++seed) {
    const CFloorSpec spec = RandomSpec(seed);
    SCOPED_TRACE("outline " + Text(spec.outline) + " room size " + std::to_string(spec.roomSize));
    CBuilding before(spec, 0);
    for (std::uint32_t n = 1;; ++n) {
      SCOPED_TRACE("budget " + std::to_string(n));
      CBuilding after(spec, n);
      CFloor& old = before.floors[0];
      CFloor& grown = after.floors[0];
      const int rooms = old.rooms.GetSize();
      if (after.budget.steps > 0) {
        // A step was left over: budget n - 1 had already finished the design.
        ASSERT_EQ(grown.rooms.GetSize(), rooms);
        for (int r = 0; r < rooms; ++r) EXPECT_EQ(Text(grown.rooms[r].outline), Text(old.rooms[r].outline));
        EXPECT_EQ(grown.pendingRegions.GetSize(), 0);
        break;
      }
      ASSERT_GE(grown.rooms.GetSize(), rooms);
      ASSERT_LE(grown.rooms.GetSize(), rooms + 1);
      for (int r = 0; r + 1 < rooms; ++r) {
        EXPECT_EQ(Text(grown.rooms[r].outline), Text(old.rooms[r].outline)) << "room " << r;
      }
      if (grown.rooms.GetSize() == rooms) {
        ASSERT_FALSE(old.rooms[rooms - 1].IsComplete());
        const CBox2 taken = old.candidateBoxes[old.candidateBoxes.GetSize() - 1];
        EXPECT_EQ(Area(grown.rooms[rooms - 1].outline.GetAsBoxList()),
                  Area(old.rooms[rooms - 1].outline.GetAsBoxList()) + taken.GetArea());
      } else {
        ASSERT_TRUE(rooms == 0 || old.rooms[rooms - 1].IsComplete());
        old.pendingRegions.Sort();
        const CBox2List region = old.pendingRegions[old.pendingRegions.GetSize() - 1].GetBoxList();
        const CBox2 seedCell = grown.rooms[rooms].outline.GetExtents();
        EXPECT_EQ(grown.rooms[rooms].outline.GetSize(), 4);
        bool found = false;
        for (int c = 0; c < region.GetSize(); ++c) {
          found = found || (region[c].GetMin() == seedCell.GetMin() && region[c].GetMax() == seedCell.GetMax());
        }
        EXPECT_TRUE(found) << "the new room is no cell of the largest region";
      }
      before = after;
    }
    CBuilding finished(spec, STEP_BUDGET_UNLIMITED);
    ASSERT_EQ(finished.floors[0].rooms.GetSize(), before.floors[0].rooms.GetSize());
    for (int r = 0; r < finished.floors[0].rooms.GetSize(); ++r) {
      EXPECT_EQ(Text(finished.floors[0].rooms[r].outline), Text(before.floors[0].rooms[r].outline));
    }
  }
}

TEST(BuildingBudget, StoreysShareTheBudget) {
  struct Case {
    const char* name;
    std::uint32_t storeys;
    std::uint32_t budget;
    int floors;
    std::uint32_t budgetLeft;
  };
  // The 15 x 15 square takes at most nine decisions per storey.
  const Case cases[] = {
      {"no step still makes one storey", 3, 0, 1, 0},
      {"budget runs out in the first storey", 3, 4, 1, 0},
      {"unlimited designs every storey", 3, STEP_BUDGET_UNLIMITED, 3, STEP_BUDGET_UNLIMITED},
      {"no storey asked for", 0, 5, 0, 5},
  };
  for (const auto& c : cases) {
    CBuilding building(CFloorSpec(BoxOutline(0, 0, 15, 15), c.storeys, 0, 45), c.budget);
    EXPECT_EQ(building.floors.GetSize(), c.floors) << c.name;
    EXPECT_EQ(building.budget.steps, c.budgetLeft) << c.name;
  }
}

TEST(BuildingBudget, SpareStepsAreLeftAfterTheLastStorey) {
  CBuilding building(CFloorSpec(BoxOutline(0, 0, 15, 15), 2, 0, 45), 100);
  ASSERT_EQ(building.floors.GetSize(), 2);
  EXPECT_EQ(building.budget.steps, 100u - 2 * 9);
  EXPECT_EQ(building.GetSpec().GetMaxRoomSize(), 45u);
  // Equal seeds per storey only when the variance is 0: both storeys agree.
  EXPECT_EQ(Text(building.floors[0].rooms[0].outline), Text(building.floors[1].rooms[0].outline));
}

TEST(BuildingSpec, MaxRoomSizeFollowsBothSizes) {
  CFloorSpec spec(BoxOutline(0, 0, 5, 5), 2, 10, 45);
  EXPECT_EQ(spec.GetMaxRoomSize(), 55u);
  CFloorSpec copy(spec);
  EXPECT_EQ(copy.GetMaxRoomSize(), 55u);
  EXPECT_EQ(copy.storeys, 2u);
  EXPECT_EQ(Text(copy.outline), Text(spec.outline));
  copy = CFloorSpec(BoxOutline(0, 0, 5, 5), 1, 0xFFFFFFFFu, 2);
  EXPECT_EQ(copy.GetMaxRoomSize(), 1u);
}

}  // namespace
