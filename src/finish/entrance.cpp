#include "finish/entrance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "finish/stair.h"

namespace quarn {
namespace {

// Longer outer walls than this get a window, and may get the entrance.

// The side of the building an outer wall looks out to: the side of its edge
// on which no room lies.
Side FacingOf(const CWall& wall, const StoreyGrid& grid) {
  const CPoint2 a = wall.edge.GetPoint(1);
  const CPoint2 b = wall.edge.GetPoint(2);
  // The square beside the edge's first unit, on its low side.
  if (a.y == b.y) return grid.RoomAt(std::min(a.x, b.x), a.y - 1) < 0 ? SideDown : SideUp;
  return grid.RoomAt(a.x - 1, std::min(a.y, b.y)) < 0 ? SideLeft : SideRight;
}

// The wall's middle along its own axis.
float MiddleAlong(const CWall& wall) {
  const CVector2 middle = (CVector2(wall.edge.GetPoint(1)) + CVector2(wall.edge.GetPoint(2))) / 2.0f;
  return wall.edge.GetPoint(1).y == wall.edge.GetPoint(2).y ? middle.x : middle.y;
}

// Rank of a façade: the one asked for first, then -y, +x, +y, -x.
int FacadeRank(Side side, Side preferred) {
  static constexpr std::array<Side, 4> kOrder = {SideDown, SideRight, SideUp, SideLeft};
  if (side == preferred) return 0;
  return 1 + static_cast<int>(std::find(kOrder.begin(), kOrder.end(), side) - kOrder.begin());
}

}  // namespace

bool Entrance::operator==(const Entrance& other) const {
  return wall == other.wall && room == other.room && centre == other.centre &&
         facing == other.facing && SameBoxes(pieces, other.pieces);
}

std::ostream& operator<<(std::ostream& os, const Entrance& entrance) {
  return os << "entrance wall " << entrance.wall << " room " << entrance.room << " at ("
            << entrance.centre.x << "," << entrance.centre.y << ") facing "
            << kSideLetters[entrance.facing];
}

std::optional<Entrance> ChooseEntrance(const CFloor& ground, const StoreyGrid& grid,
                                       Side facade) {
  struct Outer {
    int wall;
    Side facing;
    float middle;
  };
  std::vector<Outer> outer;
  std::array<float, 4> low, high;
  low.fill(std::numeric_limits<float>::max());
  high.fill(std::numeric_limits<float>::lowest());
  for (int w = 0; w < ground.walls.GetSize(); ++w) {
    const CWall& wall = ground.walls[w];
    if (wall.GetRoomCount() != 1) continue;
    const Outer o{w, FacingOf(wall, grid), MiddleAlong(wall)};
    const float half = wall.GetLength() / 2.0f;
    low[static_cast<std::size_t>(o.facing)] = std::min(low[static_cast<std::size_t>(o.facing)], o.middle - half);
    high[static_cast<std::size_t>(o.facing)] = std::max(high[static_cast<std::size_t>(o.facing)], o.middle + half);
    if (wall.GetLength() > CWall::kWindowWallLength) outer.push_back(o);
  }
  if (outer.empty()) return std::nullopt;
  const auto key = [&](const Outer& o) {
    const auto s = static_cast<std::size_t>(o.facing);
    const float offCentre = std::fabs(o.middle - (low[s] + high[s]) / 2.0f);
    return std::make_tuple(FacadeRank(o.facing, facade), offCentre, o.wall);
  };
  const Outer best = *std::min_element(outer.begin(), outer.end(), [&](const Outer& a, const Outer& b) {
    return key(a) < key(b);
  });
  const CWall& wall = ground.walls[best.wall];
  Entrance entrance;
  entrance.wall = best.wall;
  entrance.room = ground.GetRoomIndex(wall.pair.first);
  entrance.centre = (CVector2(wall.edge.GetPoint(1)) + CVector2(wall.edge.GetPoint(2))) / 2.0f;
  entrance.facing = best.facing;
  entrance.pieces = wall.GetSolidBox().Difference(wall.GetDoorBox());
  return entrance;
}

}  // namespace quarn
