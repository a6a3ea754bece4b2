#include "building/croompair.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building/cfloor.h"
#include "building_support.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::BoxOutline;

TEST(RoomPair, RoomsFillFirstThenSecondAndAThirdIsDropped) {
  CRoom a(nullptr, BoxOutline(0, 0, 1, 1), true);
  CRoom b(nullptr, BoxOutline(1, 0, 2, 1), true);
  CRoom c(nullptr, BoxOutline(2, 0, 3, 1), true);
  struct Case {
    const char* name;
    std::vector<CRoom*> added;
    CRoomPair expected;
    int count;
  };
  const std::vector<Case> cases = {
      {"nothing", {}, CRoomPair(), 0},
      {"none changes nothing", {nullptr}, CRoomPair(), 0},
      {"one room", {&a}, CRoomPair(&a), 1},
      {"two rooms", {&a, nullptr, &b}, CRoomPair(&a, &b), 2},
      {"a third room is dropped", {&a, &b, &c}, CRoomPair(&a, &b), 2},
  };
  for (const auto& c : cases) {
    CRoomPair pair;
    for (CRoom* room : c.added) pair.AddRoom(room);
    EXPECT_EQ(pair, c.expected) << c.name;
    EXPECT_EQ(pair.GetRoomCount(), c.count) << c.name;
  }
}

TEST(RoomPair, ARoomIsNeverPairedWithItself) {
  CRoom a(nullptr, BoxOutline(0, 0, 1, 1), true);
  EXPECT_QUARN_ASSERTION((void)CRoomPair(&a, &a), "croompair");
  CRoomPair pair(&a);
  EXPECT_QUARN_ASSERTION(pair.AddRoom(&a), "croompair");
}

// A floor holding just the given rooms, with walls and slabs derived.
CFloor FloorOf(const std::vector<CPolygon2>& outlines) {
  CFloor floor = CBuilding(CFloorSpec(BoxOutline(0, 0, 5, 5), 1, 0, 45), 0).floors[0];
  floor.pendingRegions.Clear();
  for (const CPolygon2& outline : outlines) floor.rooms.Add(CRoom(&floor, outline, true));
  floor.InsertNeighbourSplits();
  floor.BuildWalls();
  return floor;
}

struct WallCase {
  CPoint2 from, to;
  int first, second;  // room indices, -1 for none
};

void ExpectWalls(const CFloor& floor, const std::vector<WallCase>& expected) {
  ASSERT_EQ(floor.walls.GetSize(), static_cast<int>(expected.size()));
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CWall& wall = floor.walls[w];
    const WallCase& want = expected[w];
    EXPECT_EQ(wall.edge.GetPoint(1), want.from) << "wall " << w;
    EXPECT_EQ(wall.edge.GetPoint(2), want.to) << "wall " << w;
    EXPECT_EQ(floor.GetRoomIndex(wall.pair.first), want.first) << "wall " << w;
    const int second = wall.pair.second == nullptr ? -1 : floor.GetRoomIndex(wall.pair.second);
    EXPECT_EQ(second, want.second) << "wall " << w;
  }
}

TEST(WallDerivation, RoomsSideBySideShareOneWall) {
  const CFloor floor = FloorOf({BoxOutline(0, 0, 5, 5), BoxOutline(5, 0, 10, 5)});
  ExpectWalls(floor, {
                         {{0, 5}, {5, 5}, 0, -1},
                         {{5, 5}, {5, 0}, 0, 1},
                         {{5, 0}, {0, 0}, 0, -1},
                         {{0, 0}, {0, 5}, 0, -1},
                         {{5, 5}, {10, 5}, 1, -1},
                         {{10, 5}, {10, 0}, 1, -1},
                         {{10, 0}, {5, 0}, 1, -1},
                     });
  ASSERT_EQ(floor.slabs.GetSize(), 2);
  EXPECT_TRUE(quarn::test::SameBox3(floor.slabs[1][0], {5, 0, -0.05f, 10, 5, 0.05f}));
}

TEST(WallDerivation, PartlySharedEdgesAreSplitAtTheNeighboursCorners) {
  const CFloor floor = FloorOf({BoxOutline(0, 0, 10, 5), BoxOutline(5, 5, 15, 10)});
  EXPECT_EQ(floor.rooms[0].wallOutline.GetSize(), 5);
  EXPECT_EQ(floor.rooms[1].wallOutline.GetSize(), 5);
  EXPECT_EQ(floor.rooms[0].outline.GetSize(), 4);
  ExpectWalls(floor, {
                         {{0, 5}, {5, 5}, 0, -1},
                         {{5, 5}, {10, 5}, 0, 1},
                         {{10, 5}, {10, 0}, 0, -1},
                         {{10, 0}, {0, 0}, 0, -1},
                         {{0, 0}, {0, 5}, 0, -1},
                         {{5, 10}, {15, 10}, 1, -1},
                         {{15, 10}, {15, 5}, 1, -1},
                         {{15, 5}, {10, 5}, 1, -1},
                         {{5, 5}, {5, 10}, 1, -1},
                     });
}

TEST(WallDerivation, TheDesignedPairOfCellsGetsADoor) {
  CBuilding building(CFloorSpec(BoxOutline(0, 0, 10, 5), 1, 0, 25), STEP_BUDGET_UNLIMITED);
  const CFloor& floor = building.floors[0];
  ASSERT_EQ(floor.rooms.GetSize(), 2);
  EXPECT_EQ(floor.rooms[0].outline.GetExtents().GetMin(), CPoint2(0, 0));
  ASSERT_EQ(floor.walls.GetSize(), 7);
  int doors = 0;
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    if (floor.walls[w].GetRoomCount() == 2) {
      ++doors;
      EXPECT_EQ(floor.walls[w].pieces.GetSize(), 3);
    }
  }
  EXPECT_EQ(doors, 1);
}

}  // namespace
