// Finishing: the laws every finished building keeps over random outlines
// and settings, and the entrance and stairs chosen for the examples.

#include "finish/finishedbuilding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "building/building_support.h"
#include "building/cbuilding.h"
#include "geom/outlinecheck.h"

namespace quarn {
namespace {

using test::CapturedTrace;

// Metres per grid unit of height at the default export scale (3 m a storey).
constexpr double kMetresPerRise = 3.0 / kStoreyRise;

TList<CFloor> Generate(const CPolygon2& outline, std::uint32_t storeys, std::uint32_t variance,
                       std::uint32_t budget) {
  const CapturedTrace quiet;
  return CBuilding(CFloorSpec(outline, storeys, variance, 45), budget).floors;
}

// The outline scaled by factor, so that larger rooms hold stairs.
CPolygon2 Scaled(const CPolygon2& outline, int factor) {
  CPolygon2 scaled;
  for (int i = 0; i < outline.GetSize(); ++i) scaled.Add(CPoint2(outline[i].x * factor, outline[i].y * factor));
  return scaled;
}

// Plan overlap with positive area.
bool Overlaps(const CBox3& box, float x0, float y0, float x1, float y1) {
  return box.GetMin().x < x1 && x0 < box.GetMax().x && box.GetMin().y < y1 && y0 < box.GetMax().y;
}

bool Overlaps(const CBox3& box, const CBox2& plan) {
  return Overlaps(box, static_cast<float>(plan.minCorner.x), static_cast<float>(plan.minCorner.y),
                  static_cast<float>(plan.maxCorner.x), static_cast<float>(plan.maxCorner.y));
}

double PlanArea(const TList<CBox3>& boxes) {
  double area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) {
    area += static_cast<double>(boxes[i].GetMax().x - boxes[i].GetMin().x) *
            (boxes[i].GetMax().y - boxes[i].GetMin().y);
  }
  return area;
}

// Every unit square of plan lies on one of room's slabs.
bool InRoom(const CFloor& floor, int room, const CBox2& plan) {
  for (int y = plan.minCorner.y; y < plan.maxCorner.y; ++y) {
    for (int x = plan.minCorner.x; x < plan.maxCorner.x; ++x) {
      bool covered = false;
      for (int i = 0; i < floor.slabs[room].GetSize() && !covered; ++i) {
        const CBox3& slab = floor.slabs[room][i];
        covered = slab.GetMin().x <= x && x + 1 <= slab.GetMax().x && slab.GetMin().y <= y &&
                  y + 1 <= slab.GetMax().y;
      }
      if (!covered) return false;
    }
  }
  return true;
}

// The footprint keeps off the 1 x 1 squares on both sides of every doorway.
bool ClearOfDoorways(const CFloor& floor, const CBox2& footprint, int entranceWall) {
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CWall& wall = floor.walls[w];
    if (wall.GetRoomCount() != 2 && w != entranceWall) continue;
    const CBox3 door = wall.GetDoorBox();
    const bool alongX = wall.edge.GetPoint(1).y == wall.edge.GetPoint(2).y;
    const float line = alongX ? static_cast<float>(wall.edge.GetPoint(1).y)
                              : static_cast<float>(wall.edge.GetPoint(1).x);
    const CBox3 square =
        alongX ? CBox3(CVector3(door.GetMin().x, line - 1, 0), CVector3(door.GetMax().x, line + 1, 1))
               : CBox3(CVector3(line - 1, door.GetMin().y, 0), CVector3(line + 1, door.GetMax().y, 1));
    if (Overlaps(square, footprint)) return false;
  }
  return true;
}

void ExpectComfortableSteps(const Stair& stair) {
  const TList<CBox3>& steps = stair.steps;
  ASSERT_GT(steps.GetSize(), 0);
  float below = 0.0f;
  double run = 0.0;
  const int axis = GetSideAxis(stair.climb);
  for (int i = 0; i <= steps.GetSize(); ++i) {
    const float top = i < steps.GetSize() ? steps[i].GetMax().z : kStoreyRise;
    const double riser = (top - below) * kMetresPerRise;
    EXPECT_GE(riser, 0.15 - 1e-6) << "riser " << i;
    EXPECT_LE(riser, 0.19 + 1e-6) << "riser " << i;
    below = top;
    if (i == steps.GetSize()) break;
    EXPECT_TRUE(Overlaps(steps[i], stair.footprint));
    const double tread = axis == 0 ? steps[i].GetMax().x - steps[i].GetMin().x
                                   : steps[i].GetMax().y - steps[i].GetMin().y;
    run += tread;
    EXPECT_GE(tread, 0.25 - 1e-6) << "tread " << i;
    EXPECT_LE(tread, 0.32 + 1e-6) << "tread " << i;
    EXPECT_GE(2 * riser + tread, 0.60 - 1e-6) << "step " << i;
    EXPECT_LE(2 * riser + tread, 0.65 + 1e-6) << "step " << i;
  }
  const CPoint2 size = stair.footprint.GetSize();
  EXPECT_NEAR(run, axis == 0 ? size.x : size.y, 1e-4);
}

void ExpectFinishingLaws(const TList<CFloor>& floors, const FinishedBuilding& finished) {
  const int storeys = floors.GetSize();
  ASSERT_EQ(finished.stairs.size() + 1, static_cast<std::size_t>(storeys));
  // Exactly one entrance on a complete ground storey with a window wall,
  // cut into that outer wall in place of its window.
  bool windowWall = false;
  for (int w = 0; w < floors[0].walls.GetSize(); ++w) {
    windowWall |= floors[0].walls[w].GetRoomCount() == 1 && floors[0].walls[w].GetLength() > 1.2f;
  }
  EXPECT_EQ(finished.entrance.has_value(), finished.complete[0] && windowWall);
  int entranceWall = -1;
  if (finished.entrance) {
    entranceWall = finished.entrance->wall;
    const CWall& wall = floors[0].walls[entranceWall];
    EXPECT_EQ(wall.GetRoomCount(), 1);
    EXPECT_EQ(floors[0].GetRoomIndex(wall.pair.first), finished.entrance->room);
    EXPECT_EQ(PlanArea(finished.GetWallPieces(floors[0], 0, entranceWall)) < PlanArea(wall.pieces) ||
                  finished.GetWallPieces(floors[0], 0, entranceWall).GetSize() != wall.pieces.GetSize(),
              true);
    EXPECT_EQ(finished.fromEntrance[0][static_cast<std::size_t>(finished.entrance->room)], 1);
  }
  bool reachable = finished.entrance.has_value();
  for (int k = 0; k < storeys; ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (k > 0) {
      const std::optional<Stair>& stair = finished.stairs[s - 1];
      reachable = reachable && stair.has_value();
      const CFloor& below = floors[k - 1];
      const CFloor& above = floors[k];
      double designed = 0, finishedArea = 0;
      for (int r = 0; r < above.rooms.GetSize(); ++r) {
        designed += PlanArea(above.slabs[r]);
        const TList<CBox3> slabs = finished.GetSlabs(above, k, r);
        finishedArea += PlanArea(slabs);
        for (int i = 0; stair && i < slabs.GetSize(); ++i) EXPECT_FALSE(Overlaps(slabs[i], stair->footprint));
      }
      if (!stair) {
        EXPECT_EQ(finishedArea, designed);
        continue;
      }
      SCOPED_TRACE(testing::Message() << *stair);
      EXPECT_TRUE(finished.complete[s - 1] && finished.complete[s]);
      EXPECT_NEAR(designed - finishedArea, stair->footprint.GetArea(), 1e-3) << "the slab opening is the footprint";
      EXPECT_TRUE(InRoom(below, stair->roomBelow, stair->footprint));
      EXPECT_TRUE(InRoom(above, stair->roomAbove, stair->footprint));
      EXPECT_TRUE(ClearOfDoorways(below, stair->footprint, k == 1 ? entranceWall : -1));
      EXPECT_TRUE(ClearOfDoorways(above, stair->footprint, -1));
      ExpectComfortableSteps(*stair);
    }
    for (int r = 0; r < floors[k].rooms.GetSize(); ++r) {
      EXPECT_EQ(finished.fromEntrance[s][static_cast<std::size_t>(r)].has_value(), reachable)
          << "storey " << k << " room " << r;
    }
  }
}

// Random outlines, scaled 1 or 3, with 1 to 4 storeys, variance 0 and 60,
// designed to the end or stopped partway.
TEST(FinishedBuildingLaw, EntranceStairsOpeningsAndCirculationHold) {
  int cases = 0, entrances = 0, stairs = 0, missingStairs = 0;
  for (unsigned seed = 0; seed < 24; ++seed) {
    std::mt19937 random(seed);
    const CPolygon2 outline = Scaled(test::RandomOutline(seed), seed % 2 == 0 ? 1 : 3);
    for (std::uint32_t storeys = 1; storeys <= 4; ++storeys) {
      for (const std::uint32_t variance : {0u, 60u}) {
        for (const std::uint32_t budget :
             {STEP_BUDGET_UNLIMITED, std::uniform_int_distribution<std::uint32_t>(1, 120)(random)}) {
          SCOPED_TRACE(testing::Message() << "outline " << outline << " storeys " << storeys
                                          << " variance " << variance << " budget " << budget);
          const TList<CFloor> floors = Generate(outline, storeys, variance, budget);
          const FinishedBuilding finished = FinishBuilding(floors);
          ExpectFinishingLaws(floors, finished);
          ++cases;
          entrances += finished.entrance.has_value();
          for (const std::optional<Stair>& stair : finished.stairs) (stair ? stairs : missingStairs)++;
        }
      }
    }
  }
  std::cout << cases << " cases, " << entrances << " entrances, " << stairs << " stairs, "
            << missingStairs << " storey pairs without one\n";
}

TList<CPolygon2> ExampleLoops(const std::string& name) {
  std::ifstream in(std::string("examples/") + name);
  return ReadOutlineFile(in).loops;
}

struct ChoiceCase {
  const char* example;
  std::uint32_t storeys;
  Side facade;
  const char* expected;  // the entrance, then each stair, then what is missing, one a line
  std::uint32_t budget = STEP_BUDGET_UNLIMITED;
};

std::string Describe(const FinishedBuilding& finished) {
  std::ostringstream text;
  if (finished.entrance) text << *finished.entrance << '\n';
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (stair) text << *stair << '\n';
  }
  for (const std::string& missing : finished.GetMissing()) text << missing << '\n';
  return text.str();
}

TEST(FinishedBuildingChoice, OfTheExamples) {
  const ChoiceCase cases[] = {
      {"square.quarn", 2, SideDown,
       "entrance wall 14 room 3 at (10,0) facing D\n"
       "stair from storey 0 room 3 to room 3 over (6,1)-(11,2) climbing L\n"},
      {"l-shape.quarn", 3, SideDown,
       "entrance wall 40 room 12 at (17.5,0) facing D\n"
       "stair from storey 0 room 12 to room 12 over (16,1)-(17,6) climbing D\n"
       "stair from storey 1 room 12 to room 12 over (17,1)-(18,6) climbing D\n"},
      {"courtyard.quarn", 3, SideDown,
       "entrance wall 37 room 12 at (19.5,0) facing D\n"
       "stair from storey 0 room 12 to room 12 over (18,1)-(19,6) climbing D\n"
       "stair from storey 1 room 12 to room 12 over (19,1)-(20,6) climbing D\n"},
      // North: the courtyard's inner wall lies nearest the middle of that side.
      {"courtyard.quarn", 2, SideUp,
       "entrance wall 35 room 12 at (19.5,10) facing U\n"
       "stair from storey 0 room 12 to room 12 over (18,1)-(19,6) climbing D\n"},
      {"corridor.quarn", 2, SideDown,
       "entrance wall 9 room 2 at (37.5,0) facing D\n"
       "stair from storey 0 room 2 to room 2 over (31,0)-(36,1) climbing L\n"},
      // Stopped in its first storey: nothing is finished, and that is said.
      {"square.quarn", 2, SideDown,
       "no entrance: the ground storey is not complete\n", 3},
  };
  for (const ChoiceCase& c : cases) {
    const TList<CPolygon2> loops = ExampleLoops(c.example);
    ASSERT_EQ(loops.GetSize(), 1) << c.example;
    const TList<CFloor> floors = Generate(loops[0], c.storeys, 0, c.budget);
    EXPECT_EQ(Describe(FinishBuilding(floors, {c.facade})), c.expected)
        << c.example << " storeys " << c.storeys << " facade " << kSideLetters[c.facade];
  }
}

}  // namespace
}  // namespace quarn
