#pragma once

#include <cstdint>
#include <string>

#include "building/cbuilding.h"
#include "geom/cbox2list.h"
#include "geom/cedge2.h"
#include "geom/clattice2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

namespace quarn::test {

// The design state of one storey as the designer makes it when every step
// runs the box-list operations as written: the region copied and relinked,
// every remaining cell scored, the rest split by flood fill and rebuilt as
// lattices. The fast designer must agree with it decision for decision.
struct ReferenceWall {
  CEdge2 edge;
  int first;
  int second;  // -1 for none
};

struct ReferenceFloor {
  TList<CPolygon2> roomOutlines;
  // Each room's outline split at every other room's corners, pair by pair,
  // and the walls matched by searching the list of walls made so far.
  TList<CPolygon2> wallOutlines;
  TList<ReferenceWall> walls;
  TList<bool> roomComplete;
  TList<CLattice2> pendingRegions;
  CBox2List candidateBoxes;
  TList<float> candidateScores;
};

struct ReferenceBuilding {
  TList<ReferenceFloor> floors;
  std::uint32_t stepBudget;
  std::string trace;
};

// Designs every storey of spec with the given budget, as CBuilding does.
ReferenceBuilding DesignByReference(const CFloorSpec& spec, std::uint32_t stepBudget);

}  // namespace quarn::test
