// The designer against the box-list operations as written, decision for
// decision, over random outlines, budgets and settings.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "building/building_support.h"
#include "building/cbuilding.h"
#include "building/reference_designer.h"
#include "geom/outline_helpers.h"

namespace quarn::test {
namespace {

// A random simply connected outline of up to 8 x 8 grid cells whose columns
// and rows are 1 to 9 units wide, so that cell lines fall on and off the
// design cells' 5-unit steps and the outline is up to about 40 x 40.
CPolygon2 RandomOutline(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(1, 8), width(1, 9);
  const int columns = count(rng), rows = count(rng);
  std::vector<int> xs{0}, ys{0};
  for (int i = 0; i < columns; ++i) xs.push_back(xs.back() + width(rng));
  for (int i = 0; i < rows; ++i) ys.push_back(ys.back() + width(rng));
  const int cells = std::uniform_int_distribution<int>(1, columns * rows)(rng);
  const CPolygon2 grid = OutlineOf(RandomCells(rng, columns, rows, cells), rng, 0.2);
  CPolygon2 outline;
  for (int i = 0; i < grid.GetSize(); ++i) outline.Add(CPoint2(xs[grid[i].x], ys[grid[i].y]));
  return outline;
}

std::string Describe(const CFloorSpec& spec, std::uint32_t budget) {
  std::ostringstream text;
  text << "outline " << spec.outline << " storeys " << spec.storeys << " room size "
       << spec.roomSize << " variance " << spec.roomSizeVariance << " budget " << budget;
  return text.str();
}

bool SameBoxes(const CBox2List& a, const CBox2List& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

bool SameWalls(const CFloor& got, const ReferenceFloor& want) {
  for (int r = 0; r < got.rooms.GetSize(); ++r) {
    if (!(got.rooms[r].wallOutline == want.wallOutlines[r])) return false;
  }
  if (got.walls.GetSize() != want.walls.GetSize()) return false;
  for (int w = 0; w < got.walls.GetSize(); ++w) {
    const CWall& wall = got.walls[w];
    const ReferenceWall& expected = want.walls[w];
    const int second = wall.pair.second ? got.GetRoomIndex(wall.pair.second) : -1;
    if (wall.edge.GetPoint(1) != expected.edge.GetPoint(1) ||
        wall.edge.GetPoint(2) != expected.edge.GetPoint(2) ||
        got.GetRoomIndex(wall.pair.first) != expected.first || second != expected.second) {
      return false;
    }
  }
  return true;
}

// Compares everything the plan dump and the drawing read from the design.
::testing::AssertionResult SameDesign(const CBuilding& fast, const std::string& fastTrace,
                                      const ReferenceBuilding& reference) {
  if (fastTrace != reference.trace) return ::testing::AssertionFailure() << "traces differ";
  if (fast.budget.steps != reference.stepBudget) {
    return ::testing::AssertionFailure() << "budget left " << fast.budget.steps << " vs "
                                         << reference.stepBudget;
  }
  if (fast.floors.GetSize() != reference.floors.GetSize()) {
    return ::testing::AssertionFailure() << "storey counts differ";
  }
  for (int f = 0; f < fast.floors.GetSize(); ++f) {
    const CFloor& got = fast.floors[f];
    const ReferenceFloor& want = reference.floors[f];
    if (got.rooms.GetSize() != want.roomOutlines.GetSize()) {
      return ::testing::AssertionFailure() << "storey " << f << ": room counts differ";
    }
    for (int r = 0; r < got.rooms.GetSize(); ++r) {
      if (!(got.rooms[r].outline == want.roomOutlines[r]) ||
          got.rooms[r].complete != want.roomComplete[r]) {
        return ::testing::AssertionFailure() << "storey " << f << " room " << r << " differs";
      }
    }
    if (!SameWalls(got, want)) return ::testing::AssertionFailure() << "storey " << f << ": walls";
    if (got.pendingRegions.GetSize() != want.pendingRegions.GetSize()) {
      return ::testing::AssertionFailure() << "storey " << f << ": pending region counts differ";
    }
    for (int p = 0; p < got.pendingRegions.GetSize(); ++p) {
      if (!SameBoxes(got.pendingRegions[p].GetBoxList(), want.pendingRegions[p].GetBoxList())) {
        return ::testing::AssertionFailure() << "storey " << f << " pending region " << p;
      }
    }
    if (!SameBoxes(got.candidateBoxes, want.candidateBoxes) ||
        got.candidateScores.GetSize() != want.candidateScores.GetSize()) {
      return ::testing::AssertionFailure() << "storey " << f << ": candidates differ";
    }
    for (int c = 0; c < got.candidateScores.GetSize(); ++c) {
      if (std::memcmp(&got.candidateScores[c], &want.candidateScores[c], sizeof(float)) != 0) {
        return ::testing::AssertionFailure() << "storey " << f << ": candidate score " << c;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(DesignerDifferential, AgreesWithTheBoxListOperationsOnRandomOutlines) {
  struct Setting {
    std::uint32_t storeys, variance, roomSize;
  };
  // The view's setting, small and large rooms, a variance that can wrap the
  // target to a whole region, and stacked storeys sharing one budget.
  const Setting settings[] = {{1, 0, 45}, {1, 0, 12}, {2, 10, 30}, {1, 60, 45}, {3, 0, 100}};
  const std::uint32_t budgets[] = {0, 1, 2, 7, 25, STEP_BUDGET_UNLIMITED};
  std::mt19937 rng(20261209);
  int cases = 0;
  for (int outline = 0; outline < 500; ++outline) {
    const CPolygon2 loop = RandomOutline(rng);
    const Setting& setting = settings[outline % std::size(settings)];
    const CFloorSpec spec(loop, setting.storeys, setting.variance, setting.roomSize);
    for (std::uint32_t budget : budgets) {
      const ReferenceBuilding reference = DesignByReference(spec, budget);
      CapturedTrace trace;
      const CBuilding fast(spec, budget, trace);
      ASSERT_TRUE(SameDesign(fast, trace.Text(), reference)) << Describe(spec, budget);
      ++cases;
    }
  }
  EXPECT_EQ(cases, 3000);
}

}  // namespace
}  // namespace quarn::test
