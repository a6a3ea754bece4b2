#pragma once

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "furnish/catalogue.h"
#include "furnish/furniture.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// Furnishes every typed room of a finished building with its type's set
// (sets, GetDefaultFurnitureSets when not given); unit is metres per grid
// unit. Pieces are placed one at a time, each where it fits best, so that
// every piece lies inside its room less the walls, no two overlap (chairs
// touch their table), nothing stands on the square either side of a door
// that stays (typed.doorKept), on the entrance's square, on a stair's
// footprint or on the square before and after it, every piece keeps a
// strip kAccessDepth deep in front of it clear, tall pieces keep out of
// the strip in front of windows, and the doors (and stair ends) a person
// kPersonWidth wide could walk between in the empty room stay so. Each
// must-place entry that finds no place gives one phrase in unfurnished.
// Deterministic; rooms without a type stay empty.
FurnishedBuilding FurnishBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                  const TypedBuilding& typed, float unit);
FurnishedBuilding FurnishBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                  const TypedBuilding& typed, float unit, const FurnitureSets& sets);

}  // namespace quarn
