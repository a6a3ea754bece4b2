#pragma once

#include <algorithm>
#include <initializer_list>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "building/cfloor.h"
#include "building/designobserver.h"
#include "geom/cbox2.h"
#include "geom/cbox3.h"
#include "geom/cpolygon2.h"

namespace quarn::test {

// A design observer that keeps the text trace in a string.
class CapturedTrace {
 public:
  CapturedTrace() = default;
  CapturedTrace(const CapturedTrace&) = delete;
  CapturedTrace& operator=(const CapturedTrace&) = delete;

  operator DesignObserver&() { return observer_; }
  DesignObserver& Observer() { return observer_; }
  std::string Text() const { return stream_.str(); }

 private:
  std::ostringstream stream_;
  TextTraceObserver observer_{stream_};
};

inline CBox2 Box(int x0, int y0, int x1, int y1) { return CBox2(CPoint2(x0, y0), CPoint2(x1, y1)); }

inline CPolygon2 Polygon(std::initializer_list<std::pair<int, int>> points) {
  CPolygon2 polygon;
  for (const auto& [x, y] : points) polygon.Add(CPoint2(x, y));
  return polygon;
}

// The clockwise outline of a box, starting at its top-left corner.
inline CPolygon2 BoxOutline(int x0, int y0, int x1, int y1) {
  return Polygon({{x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}});
}

// A random hole-free outline: columns side by side, each a y interval that
// overlaps its neighbour's, walked clockwise (top left to right, bottom back).
inline CPolygon2 RandomOutline(unsigned seed) {
  std::mt19937 random(seed);
  auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const int columns = uniform(1, 4);
  std::vector<int> x = {0};
  std::vector<int> low = {uniform(0, 6)};
  std::vector<int> high = {low[0] + uniform(2, 14)};
  for (int k = 0; k < columns; ++k) {
    x.push_back(x.back() + uniform(1, 13));
    if (k + 1 < columns) {
      const int lo = uniform(std::max(0, low[k] - 6), high[k] - 1);
      low.push_back(lo);
      high.push_back(uniform(std::max(lo, low[k]) + 1, std::max(lo, low[k]) + 12));
    }
  }
  CPolygon2 outline;
  outline.Add(CPoint2(x[0], high[0]));
  for (int k = 0; k + 1 < columns; ++k) {
    if (high[k + 1] == high[k]) continue;
    outline.Add(CPoint2(x[k + 1], high[k]));
    outline.Add(CPoint2(x[k + 1], high[k + 1]));
  }
  outline.Add(CPoint2(x[columns], high[columns - 1]));
  outline.Add(CPoint2(x[columns], low[columns - 1]));
  for (int k = columns - 1; k > 0; --k) {
    if (low[k - 1] == low[k]) continue;
    outline.Add(CPoint2(x[k], low[k]));
    outline.Add(CPoint2(x[k], low[k - 1]));
  }
  outline.Add(CPoint2(x[0], low[0]));
  return outline;
}

// A 3D box as six numbers, for tables and readable failures.
struct Box3Values {
  float x0, y0, z0, x1, y1, z1;
};

inline ::testing::AssertionResult SameBox3(const CBox3& box, const Box3Values& want) {
  const float got[] = {box.GetMin().x, box.GetMin().y, box.GetMin().z,
                       box.GetMax().x, box.GetMax().y, box.GetMax().z};
  const float expected[] = {want.x0, want.y0, want.z0, want.x1, want.y1, want.z1};
  for (int i = 0; i < 6; ++i) {
    if (got[i] - expected[i] > 1e-5f || expected[i] - got[i] > 1e-5f) {
      std::ostringstream text;
      text << "(" << got[0] << "," << got[1] << "," << got[2] << ")-(" << got[3] << "," << got[4]
           << "," << got[5] << ") differs at coordinate " << i;
      return ::testing::AssertionFailure() << text.str();
    }
  }
  return ::testing::AssertionSuccess();
}

// Everything a floor's design decided, as text: rooms with their outlines
// and completeness, pending cells, the overlay and the walls.
inline std::string Describe(const CFloor& floor) {
  std::ostringstream text;
  for (int i = 0; i < floor.rooms.GetSize(); ++i) {
    text << "room " << floor.rooms[i].outline << (floor.rooms[i].complete ? "" : " incomplete") << '\n';
  }
  for (int i = 0; i < floor.pendingRegions.GetSize(); ++i) {
    const CBox2List cells = floor.pendingRegions[i].GetBoxList();
    text << "pending";
    for (int c = 0; c < cells.GetSize(); ++c) text << ' ' << cells[c].GetMin() << cells[c].GetMax();
    text << '\n';
  }
  for (int i = 0; i < floor.candidateBoxes.GetSize(); ++i) {
    text << "candidate " << floor.candidateBoxes[i].GetMin() << floor.candidateScores[i] << '\n';
  }
  for (int i = 0; i < floor.walls.GetSize(); ++i) {
    text << "wall " << floor.walls[i].edge << ' ' << floor.walls[i].GetRoomCount() << '\n';
  }
  return text.str();
}

}  // namespace quarn::test
