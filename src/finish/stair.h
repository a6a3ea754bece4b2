#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "building/cfloor.h"
#include "building/cwall.h"
#include "finish/storeygrid.h"
#include "geom/cbox2.h"
#include "geom/side.h"
#include "tlist.h"

namespace quarn {

// Layout of every stair, in grid units: a storey is as high as its walls,
// kStoreyRise; a straight flight kStairRun long and kStairWidth wide climbs
// it in kStairRisers equal risers, the last one onto the upper floor. At the
// export's default scale (1 m per grid unit, 3 m per storey) a riser is
// 0.167 m and a tread 0.294 m, so 2 x riser + tread is 0.627 m.
inline constexpr int kStairRun = 5;
inline constexpr int kStairWidth = 1;
inline constexpr int kStairRisers = 18;

// A straight stair from storey `lower` up to storey lower + 1. footprint is
// its plan rectangle (grid units), which the upper storey's floor slab
// leaves open; climb is the direction it rises toward (Side 0..3);
// roomBelow and roomAbove index the rooms of the two storeys that hold the
// footprint. steps are solid boxes standing on the lower storey's floor
// (z from 0 in its frame), lowest first.
struct Stair {
  int lower = 0;
  CBox2 footprint{CPoint2(0, 0), CPoint2(1, 1)};
  Side climb = SideRight;
  int roomBelow = 0;
  int roomAbove = 0;
  TList<CBox3> steps;

  bool operator==(const Stair& other) const;
};

std::ostream& operator<<(std::ostream& os, const Stair& stair);

// True when both lists hold equal boxes in the same order.
bool SameBoxes(const TList<CBox3>& a, const TList<CBox3>& b);

// The kStairRisers - 1 steps of a flight over footprint rising toward climb:
// step i spans tread i along the climb and stands from z 0 to (i + 1)
// risers.
TList<CBox3> LayStairSteps(const CBox2& footprint, Side climb);

// The unit-deep strip beside box on side s, as wide as that side.
CBox2 Beside(const CBox2& box, Side s);

// The squares a walker stands on before the first step and after the last
// one, each kStairWidth wide and one unit deep.
CBox2 GetStairFoot(const CBox2& footprint, Side climb);
CBox2 GetStairHead(const CBox2& footprint, Side climb);

// The stair from storey `lower` (floor below, grid below) to the storey
// above (grid above). Rooms of the lower storey are tried in roomOrder; in
// the first room where any footprint fits, footprints along an inner wall
// (a long side against other rooms) win, then the lowest y, x and climb
// side. A footprint fits when it lies in one room on each storey, clear of
// every doorway square and opening, with its foot in the same room below
// and its head in the same room above, neither over an opening. None when
// no footprint fits.
std::optional<Stair> ChooseStair(int lower, const CFloor& below, const StoreyGrid& gridBelow,
                                 const StoreyGrid& gridAbove, const std::vector<int>& roomOrder);

}  // namespace quarn
