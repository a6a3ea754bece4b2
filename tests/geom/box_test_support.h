#pragma once

#include <array>
#include <vector>

#include "geom/cbox2.h"
#include "geom/cbox2list.h"

namespace quarn::test {

// A box as its four coordinates minx, miny, maxx, maxy: compact in tables
// and comparable with EXPECT_EQ.
using Rect = std::array<int, 4>;

inline CBox2 MakeBox(const Rect& r) { return CBox2(CPoint2(r[0], r[1]), CPoint2(r[2], r[3])); }

inline Rect RectOf(const CBox2& box) {
  return {box.minCorner.x, box.minCorner.y, box.maxCorner.x, box.maxCorner.y};
}

inline CBox2List MakeList(const std::vector<Rect>& rects) {
  CBox2List list;
  for (const Rect& r : rects) list.Add(MakeBox(r));
  return list;
}

inline std::vector<Rect> RectsOf(const CBox2List& list) {
  std::vector<Rect> rects;
  for (int i = 0; i < list.GetSize(); ++i) rects.push_back(RectOf(list[i]));
  return rects;
}

inline long long AreaOf(const CBox2List& list) {
  long long area = 0;
  for (int i = 0; i < list.GetSize(); ++i) area += list[i].GetArea();
  return area;
}

}  // namespace quarn::test
