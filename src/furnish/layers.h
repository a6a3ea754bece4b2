#pragma once

#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "furnish/furniture.h"
#include "programme/programme.h"
#include "tlist.h"

namespace quarn {

// What the layers above the design make of every building: finished, and
// with a programme typed and furnished with the default sets. typed and
// furnished are empty without a programme; otherwise all three hold one
// entry per building, in building order.
struct BuildingLayers {
  std::vector<FinishedBuilding> finished;
  std::vector<TypedBuilding> typed;
  std::vector<FurnishedBuilding> furnished;
};

// The layers of buildings (each a list of storeys, lowest first) as the
// view shows them; unit is metres per grid unit.
BuildingLayers LayBuildings(const TList<TList<CFloor>>& buildings, const Programme* programme,
                            float unit);

}  // namespace quarn
