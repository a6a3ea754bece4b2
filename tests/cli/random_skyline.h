#pragma once

#include <random>
#include <utility>
#include <vector>

#include "geom/cpolygon2.h"

namespace quarn::test {

// Columns of random width and height standing on y = 0, walked clockwise
// from the origin and turned by a multiple of 90 degrees. Equal neighbouring
// heights leave a vertex inside a straight run, which the check accepts.
inline CPolygon2 RandomSkyline(std::mt19937& random) {
  std::uniform_int_distribution<int> columns(1, 8), width(1, 9), height(1, 12), turn(0, 3);
  std::vector<std::pair<int, int>> points = {{0, 0}};
  int x = 0;
  for (int n = columns(random); n > 0; --n) {
    const int h = height(random);
    if (points.back() != std::pair(x, h)) points.emplace_back(x, h);
    x += width(random);
    points.emplace_back(x, h);
  }
  points.emplace_back(x, 0);
  CPolygon2 loop;
  const int quarterTurns = turn(random);
  for (auto [px, py] : points) {
    for (int t = 0; t < quarterTurns; ++t) px = std::exchange(py, -px);
    loop.Add(CPoint2(px, py));
  }
  return loop;
}

}  // namespace quarn::test
