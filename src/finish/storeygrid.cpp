#include "finish/storeygrid.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace quarn {
namespace {

// Slab corners lie on the grid: their x and y are whole numbers.
int GridCoordinate(float v) { return static_cast<int>(std::lround(v)); }

}  // namespace

StoreyGrid::StoreyGrid(const CFloor& floor) {
  int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  for (int r = 0; r < floor.slabs.GetSize(); ++r) {
    const TList<CBox3>& slabs = floor.slabs[r];
    for (int i = 0; i < slabs.GetSize(); ++i) {
      minX = std::min(minX, GridCoordinate(slabs[i].GetMin().x));
      minY = std::min(minY, GridCoordinate(slabs[i].GetMin().y));
      maxX = std::max(maxX, GridCoordinate(slabs[i].GetMax().x));
      maxY = std::max(maxY, GridCoordinate(slabs[i].GetMax().y));
    }
  }
  if (minX > maxX) return;
  origin_ = CPoint2(minX, minY);
  width_ = maxX - minX;
  height_ = maxY - minY;
  const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  rooms_.assign(size, -1);
  marks_.assign(size, kFree);
  for (int r = 0; r < floor.slabs.GetSize(); ++r) {
    const TList<CBox3>& slabs = floor.slabs[r];
    for (int i = 0; i < slabs.GetSize(); ++i) {
      const int x0 = GridCoordinate(slabs[i].GetMin().x);
      const int x1 = GridCoordinate(slabs[i].GetMax().x);
      for (int y = GridCoordinate(slabs[i].GetMin().y); y < GridCoordinate(slabs[i].GetMax().y);
           ++y) {
        const long row = Index(x0, y);
        std::fill_n(rooms_.begin() + row, x1 - x0, r);
      }
    }
  }
}

long StoreyGrid::Index(int x, int y) const {
  const long dx = static_cast<long>(x) - origin_.x;
  const long dy = static_cast<long>(y) - origin_.y;
  if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) return -1;
  return dy * width_ + dx;
}

int StoreyGrid::RoomAt(int x, int y) const {
  const long i = Index(x, y);
  return i < 0 ? -1 : rooms_[static_cast<std::size_t>(i)];
}

StoreyGrid::Mark StoreyGrid::MarkAt(int x, int y) const {
  const long i = Index(x, y);
  return i < 0 ? kFree : marks_[static_cast<std::size_t>(i)];
}

void StoreyGrid::MarkDoorway(const CWall& wall) {
  const CPoint2 a = wall.edge.GetPoint(1);
  const CPoint2 b = wall.edge.GetPoint(2);
  const int along = a.y == b.y ? 0 : 1;
  // Twice the middle, so that a middle between two squares stays exact.
  const long twiceMiddle = along == 0 ? static_cast<long>(a.x) + b.x : static_cast<long>(a.y) + b.y;
  const int from = static_cast<int>((twiceMiddle - 1) >> 1);  // floor(middle - 0.5)
  const int to = static_cast<int>(twiceMiddle >> 1) + 1;       // ceil(middle + 0.5)
  const int line = along == 0 ? a.y : a.x;
  const CBox2 square = along == 0 ? CBox2(CPoint2(from, line - 1), CPoint2(to, line + 1))
                                  : CBox2(CPoint2(line - 1, from), CPoint2(line + 1, to));
  MarkBox(square, kDoorway);
}

void StoreyGrid::MarkBox(const CBox2& box, Mark mark) {
  for (int y = box.minCorner.y; y < box.maxCorner.y; ++y) {
    for (int x = box.minCorner.x; x < box.maxCorner.x; ++x) {
      const long i = Index(x, y);
      if (i >= 0) marks_[static_cast<std::size_t>(i)] = std::max(marks_[static_cast<std::size_t>(i)], mark);
    }
  }
}

bool StoreyGrid::Holds(const CBox2& box, int room, Mark allowed) const {
  for (int y = box.minCorner.y; y < box.maxCorner.y; ++y) {
    for (int x = box.minCorner.x; x < box.maxCorner.x; ++x) {
      if (RoomAt(x, y) != room || MarkAt(x, y) > allowed) return false;
    }
  }
  return true;
}

bool StoreyGrid::IsOtherRooms(const CBox2& box, int room) const {
  for (int y = box.minCorner.y; y < box.maxCorner.y; ++y) {
    for (int x = box.minCorner.x; x < box.maxCorner.x; ++x) {
      const int other = RoomAt(x, y);
      if (other < 0 || other == room) return false;
    }
  }
  return true;
}

}  // namespace quarn
