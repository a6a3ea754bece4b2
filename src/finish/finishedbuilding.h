#pragma once

#include <optional>
#include <string>
#include <vector>

#include "building/cfloor.h"
#include "finish/entrance.h"
#include "finish/stair.h"
#include "geom/side.h"
#include "tlist.h"

namespace quarn {

// Why a building lacks its entrance or a stair.
enum class Missing {
  kNone,        // not missing
  kIncomplete,  // a storey it needs is not complete
  kNoPlace,     // no outer wall is long enough, or no room has space for a stair
};

// What finishing a building may be asked to do differently.
struct FinishSettings {
  // The façade the entrance is looked for first (SideDown: -y).
  Side entranceFacade = SideDown;
};

// What finishing adds to a building's generated storeys, which it never
// changes: the entrance, one stair slot per pair of consecutive storeys and
// the circulation. complete tells, per storey, whether its design ran to the
// end (no pending region, every room complete); only complete storeys get
// an entrance or stairs. stairs[k] climbs from storey k to k + 1, or is none
// when no footprint fits or a storey of the pair is not complete.
// fromEntrance[k][r] is the number of doors and stairs to pass from outside
// into room r of storey k, or none when it cannot be reached.
struct FinishedBuilding {
  std::vector<bool> complete;
  std::optional<Entrance> entrance;
  std::vector<std::optional<Stair>> stairs;
  std::vector<std::vector<std::optional<int>>> fromEntrance;

  // The pieces of wall `wall` of storey `storey`: the entrance wall cut by
  // its doorway, every other wall as designed.
  TList<CBox3> GetWallPieces(const CFloor& floor, int storey, int wall) const;
  // The floor slabs of room `room` of storey `storey`, less the opening of
  // the stair arriving in it.
  TList<CBox3> GetSlabs(const CFloor& floor, int storey, int room) const;
  // The doors of a room as wall indices in wall order, the entrance
  // included.
  std::vector<int> GetDoors(const CFloor& floor, int storey, int room) const;
  // Why the entrance, or stair k, is missing (Missing::kNone when present).
  Missing GetEntranceMissing() const;
  Missing GetStairMissing(std::size_t k) const;
  // One phrase for every entrance or stair the building lacks and why, for
  // example "no stair from storey 0 to 1: no room has space for one".
  std::vector<std::string> GetMissing() const;
};

// True when the storey's design ran to the end: rooms, none pending, every
// room complete.
bool IsStoreyComplete(const CFloor& floor);

// Finishes a building from its storeys, lowest first (see FinishedBuilding).
// Stairs are chosen from the bottom up; storey k's rooms are tried in order
// of their distance from the entrance (unreachable ones last, then room
// order). The squares next to a stair's head count as doorway squares for the
// stair above it, which never stands on them.
FinishedBuilding FinishBuilding(const TList<CFloor>& floors, const FinishSettings& settings = {});

// FinishBuilding of every building in order.
std::vector<FinishedBuilding> FinishBuildings(const TList<TList<CFloor>>& buildings,
                                              const FinishSettings& settings = {});

}  // namespace quarn
