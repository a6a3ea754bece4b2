#include "finish/stair.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>

namespace quarn {
namespace {

// The footprint with its lower-left square at (x, y), long along the climb.
CBox2 Footprint(int x, int y, Side climb) {
  const bool alongX = GetSideAxis(climb) == 0;
  return CBox2(CPoint2(x, y), CPoint2(x + (alongX ? kStairRun : kStairWidth),
                                      y + (alongX ? kStairWidth : kStairRun)));
}

Side Opposite(Side s) { return s ^ 1; }

// The plan extent of a room from its floor slabs.
CBox2 RoomExtent(const CFloor& floor, int room) {
  const TList<CBox3>& slabs = floor.slabs[room];
  CPoint2 lo(INT_MAX, INT_MAX), hi(INT_MIN, INT_MIN);
  for (int i = 0; i < slabs.GetSize(); ++i) {
    lo = Min(lo, CPoint2(static_cast<int>(std::lround(slabs[i].GetMin().x)),
                         static_cast<int>(std::lround(slabs[i].GetMin().y))));
    hi = Max(hi, CPoint2(static_cast<int>(std::lround(slabs[i].GetMax().x)),
                         static_cast<int>(std::lround(slabs[i].GetMax().y))));
  }
  return CBox2(lo, hi);
}

}  // namespace

bool SameBoxes(const TList<CBox3>& a, const TList<CBox3>& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

bool Stair::operator==(const Stair& other) const {
  return lower == other.lower && footprint == other.footprint && climb == other.climb &&
         roomBelow == other.roomBelow && roomAbove == other.roomAbove &&
         SameBoxes(steps, other.steps);
}

CBox2 Beside(const CBox2& box, Side s) {
  const CPoint2 lo = box.GetMin();
  const CPoint2 hi = box.GetMax();
  switch (s) {
    case SideLeft: return CBox2(CPoint2(lo.x - 1, lo.y), CPoint2(lo.x, hi.y));
    case SideRight: return CBox2(CPoint2(hi.x, lo.y), CPoint2(hi.x + 1, hi.y));
    case SideDown: return CBox2(CPoint2(lo.x, lo.y - 1), CPoint2(hi.x, lo.y));
    default: return CBox2(CPoint2(lo.x, hi.y), CPoint2(hi.x, hi.y + 1));
  }
}

std::ostream& operator<<(std::ostream& os, const Stair& stair) {
  return os << "stair from storey " << stair.lower << " room " << stair.roomBelow << " to room "
            << stair.roomAbove << " over " << stair.footprint << " climbing "
            << kSideLetters[stair.climb];
}

TList<CBox3> LayStairSteps(const CBox2& footprint, Side climb) {
  const int axis = GetSideAxis(climb);
  const CPoint2 lo = footprint.GetMin();
  const CPoint2 hi = footprint.GetMax();
  const double start = axis == 0 ? (IsPositiveSide(climb) ? lo.x : hi.x)
                                 : (IsPositiveSide(climb) ? lo.y : hi.y);
  const double direction = IsPositiveSide(climb) ? 1.0 : -1.0;
  const double tread = static_cast<double>(kStairRun) / (kStairRisers - 1);
  const double riser = static_cast<double>(kStoreyRise) / kStairRisers;
  TList<CBox3> steps;
  for (int i = 0; i < kStairRisers - 1; ++i) {
    const auto from = static_cast<float>(start + direction * tread * i);
    // The last tread ends exactly at the footprint's end.
    const auto to = i + 1 == kStairRisers - 1 ? static_cast<float>(start + direction * kStairRun)
                                              : static_cast<float>(start + direction * tread * (i + 1));
    const auto top = static_cast<float>(riser * (i + 1));
    if (axis == 0) {
      steps.Add(CBox3(CVector3(from, static_cast<float>(lo.y), 0.0f),
                      CVector3(to, static_cast<float>(hi.y), top)));
    } else {
      steps.Add(CBox3(CVector3(static_cast<float>(lo.x), from, 0.0f),
                      CVector3(static_cast<float>(hi.x), to, top)));
    }
  }
  return steps;
}

CBox2 GetStairFoot(const CBox2& footprint, Side climb) { return Beside(footprint, Opposite(climb)); }

CBox2 GetStairHead(const CBox2& footprint, Side climb) { return Beside(footprint, climb); }

std::optional<Stair> ChooseStair(int lower, const CFloor& below, const StoreyGrid& gridBelow,
                                 const StoreyGrid& gridAbove, const std::vector<int>& roomOrder) {
  for (const int room : roomOrder) {
    const CBox2 extent = RoomExtent(below, room);
    std::optional<Stair> best;
    std::tuple<bool, int, int, Side> bestKey{};
    for (int y = extent.minCorner.y; y < extent.maxCorner.y; ++y) {
      for (int x = extent.minCorner.x; x < extent.maxCorner.x; ++x) {
        if (gridBelow.RoomAt(x, y) != room) continue;
        for (Side climb = SideLeft; climb <= SideUp; ++climb) {
          const CBox2 footprint = Footprint(x, y, climb);
          if (!gridBelow.Holds(footprint, room, StoreyGrid::kFree)) continue;
          const int above = gridAbove.RoomAt(x, y);
          if (above < 0 || !gridAbove.Holds(footprint, above, StoreyGrid::kFree) ||
              !gridBelow.Holds(GetStairFoot(footprint, climb), room, StoreyGrid::kDoorway) ||
              !gridAbove.Holds(GetStairHead(footprint, climb), above, StoreyGrid::kDoorway)) {
            continue;
          }
          const Side across = GetSideAxis(climb) == 0 ? SideDown : SideLeft;
          const bool alongInnerWall = gridBelow.IsOtherRooms(Beside(footprint, across), room) ||
                                      gridBelow.IsOtherRooms(Beside(footprint, across + 1), room);
          const std::tuple<bool, int, int, Side> key{!alongInnerWall, y, x, climb};
          if (best && !(key < bestKey)) continue;
          bestKey = key;
          best = Stair{lower, footprint, climb, room, above, {}};
        }
      }
    }
    if (best) {
      best->steps = LayStairSteps(best->footprint, best->climb);
      return best;
    }
  }
  return std::nullopt;
}

}  // namespace quarn
