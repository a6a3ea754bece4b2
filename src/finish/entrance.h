#pragma once

#include <optional>
#include <ostream>

#include "building/cfloor.h"
#include "finish/storeygrid.h"
#include "geom/cvector2.h"
#include "geom/side.h"
#include "tlist.h"

namespace quarn {

// The way into a building: a doorway cut into one outer wall of its ground
// storey in place of that wall's window. wall and room index the ground
// storey's walls and rooms; centre is the middle of the doorway in plan
// (grid units); facing is the side of the building it opens to (SideLeft
// -x, SideRight +x, SideDown -y, SideUp +y); pieces is the wall box with the
// doorway (the door box between rooms) cut out.
struct Entrance {
  int wall = 0;
  int room = 0;
  CVector2 centre;
  Side facing = SideDown;
  TList<CBox3> pieces;

  bool operator==(const Entrance& other) const;
};

std::ostream& operator<<(std::ostream& os, const Entrance& entrance);

// The entrance of a complete ground storey: among the outer walls longer
// than CWall::kWindowWallLength (those that take a window), the façade facing `facade` first,
// then the other sides in the order -y, +x, +y, -x; on one façade the wall
// whose middle is nearest the middle of that façade (the span of all its
// outer walls); then wall order. None when no outer wall is long enough.
// grid is the ground storey's.
std::optional<Entrance> ChooseEntrance(const CFloor& ground, const StoreyGrid& grid,
                                       Side facade = SideDown);

}  // namespace quarn
