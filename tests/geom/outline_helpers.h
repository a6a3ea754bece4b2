#pragma once

// Helpers shared by the polygon and lattice tests: literal box lists, area
// measures, and random rectilinear outlines.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "geom/cbox2.h"
#include "geom/cbox2list.h"
#include "geom/cpolygon2.h"

namespace quarn::test {

inline CBox2List Boxes(std::initializer_list<CBox2> boxes) {
  CBox2List list;
  for (const CBox2& b : boxes) list.Add(b);
  return list;
}

inline std::vector<CBox2> ToVector(const CBox2List& list) {
  std::vector<CBox2> boxes;
  for (int i = 0; i < list.GetSize(); ++i) boxes.push_back(list[i]);
  return boxes;
}

// Twice the enclosed area would need no division; outlines here have whole
// areas. Positive for clockwise outlines (y up).
inline std::int64_t ShoelaceArea(const CPolygon2& p) {
  std::int64_t twice = 0;
  for (int i = 0; i < p.GetSize(); ++i) {
    const CPoint2 a = p[i];
    const CPoint2 b = p[p.GetNext(i)];
    twice += std::int64_t{b.x} * a.y - std::int64_t{a.x} * b.y;
  }
  return twice / 2;
}

inline std::int64_t TotalArea(const CBox2List& boxes) {
  std::int64_t area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) area += boxes[i].GetArea();
  return area;
}

// A set of unit cells on a small grid; cell (x, y) covers (x,y)-(x+1,y+1).
class CellSet {
 public:
  CellSet(int width, int height) : width_(width), height_(height), cells_(width * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Has(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && cells_[y * width_ + x];
  }
  void Put(int x, int y, bool filled) { cells_[y * width_ + x] = filled; }
  int Count() const {
    int n = 0;
    for (bool c : cells_) n += c;
    return n;
  }

 private:
  int width_;
  int height_;
  std::vector<char> cells_;
};

// True when no 2 x 2 window holds exactly two diagonal cells (their outlines
// would touch at a corner) and every empty cell connects to the outside (no
// holes): then the boundary is one simple closed outline.
inline bool HasSimpleBoundary(const CellSet& s) {
  for (int y = -1; y < s.Height(); ++y) {
    for (int x = -1; x < s.Width(); ++x) {
      const bool a = s.Has(x, y), b = s.Has(x + 1, y), c = s.Has(x, y + 1), d = s.Has(x + 1, y + 1);
      if (a == d && b == c && a != b) return false;
    }
  }
  const int w = s.Width() + 2, h = s.Height() + 2;
  std::vector<char> seen(w * h, 0);
  std::vector<std::pair<int, int>> todo = {{0, 0}};
  seen[0] = 1;
  int reached = 0;
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    ++reached;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& st : steps) {
      const int nx = x + st[0], ny = y + st[1];
      if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[ny * w + nx]) continue;
      if (s.Has(nx - 1, ny - 1)) continue;
      seen[ny * w + nx] = 1;
      todo.push_back({nx, ny});
    }
  }
  return reached == w * h - s.Count();
}

// A random simply connected set of about target cells grown from one cell.
inline CellSet RandomCells(std::mt19937& rng, int width, int height, int target) {
  CellSet s(width, height);
  std::uniform_int_distribution<int> px(0, width - 1), py(0, height - 1), dir(0, 3);
  s.Put(px(rng), py(rng), true);
  for (int attempt = 0; attempt < target * 20 && s.Count() < target; ++attempt) {
    const int x = px(rng), y = py(rng);
    if (!s.Has(x, y)) continue;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const int d = dir(rng);
    const int nx = x + steps[d][0], ny = y + steps[d][1];
    if (nx < 0 || ny < 0 || nx >= width || ny >= height || s.Has(nx, ny)) continue;
    s.Put(nx, ny, true);
    if (!HasSimpleBoundary(s)) s.Put(nx, ny, false);
  }
  return s;
}

// The clockwise outline (y up) of a simply connected cell set. Collinear
// vertices are dropped, except each is kept as a split with probability
// keepSplit; the outline then starts at a random vertex.
inline CPolygon2 OutlineOf(const CellSet& s, std::mt19937& rng, double keepSplit) {
  std::map<std::pair<int, int>, std::pair<int, int>> next;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (!s.Has(x, y)) continue;
      // Interior on the right-hand side of travel.
      if (!s.Has(x, y + 1)) next[{x, y + 1}] = {x + 1, y + 1};
      if (!s.Has(x + 1, y)) next[{x + 1, y + 1}] = {x + 1, y};
      if (!s.Has(x, y - 1)) next[{x + 1, y}] = {x, y};
      if (!s.Has(x - 1, y)) next[{x, y}] = {x, y + 1};
    }
  }
  std::vector<std::pair<int, int>> walk;
  const std::pair<int, int> start = next.begin()->first;
  std::pair<int, int> at = start;
  do {
    walk.push_back(at);
    at = next.at(at);
  } while (at != start);
  std::bernoulli_distribution keep(keepSplit);
  CPolygon2 outline;
  const int n = static_cast<int>(walk.size());
  for (int i = 0; i < n; ++i) {
    const auto& a = walk[(i + n - 1) % n];
    const auto& b = walk[i];
    const auto& c = walk[(i + 1) % n];
    const bool straight = (a.first == b.first && b.first == c.first) ||
                          (a.second == b.second && b.second == c.second);
    if (!straight || keep(rng)) outline.Add(CPoint2(b.first, b.second));
  }
  outline.SetStart(std::uniform_int_distribution<int>(0, outline.GetSize() - 1)(rng));
  return outline;
}

}  // namespace quarn::test
