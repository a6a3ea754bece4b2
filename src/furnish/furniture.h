#pragma once

#include <string>
#include <vector>

#include "geom/cbox3.h"
#include "geom/side.h"
#include "tlist.h"

namespace quarn {

// One piece of furniture standing in room `room` of storey `storey`.
// kind names it ("bed", "wardrobe", "toilet", ...). footprint is its plan
// rectangle {x0, y0, x1, y1} in grid units (x0 < x1, y0 < y1); facing is the
// side a person uses it from (SideLeft -x, SideRight +x, SideDown -y, SideUp
// +y). boxes are what it is drawn and exported as, in the storey's own frame
// (z from 0 at its floor, in the same units as the walls).
struct FurniturePiece {
  std::string kind;
  int storey = 0;
  int room = 0;
  std::vector<float> footprint;
  Side facing = SideDown;
  TList<CBox3> boxes;
};

// The furniture of one building, and one phrase per piece a room's set
// needed but could not get ("no bed in room 4: too small for a single
// bed").
struct FurnishedBuilding {
  std::vector<FurniturePiece> pieces;
  std::vector<std::string> unfurnished;
};

}  // namespace quarn
