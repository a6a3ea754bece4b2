#include "finish/finishedbuilding.h"

#include <algorithm>
#include <numeric>

#include "finish/circulation.h"
#include "finish/storeygrid.h"

namespace quarn {
namespace {

// Rooms of a storey nearest the entrance first, unreachable ones last, then
// in room order.
std::vector<int> RoomsByDistance(const std::vector<std::optional<int>>& distances) {
  std::vector<int> order(distances.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const std::optional<int>& da = distances[static_cast<std::size_t>(a)];
    const std::optional<int>& db = distances[static_cast<std::size_t>(b)];
    return db ? (da && *da < *db) : static_cast<bool>(da);
  });
  return order;
}

// A box reaching through a floor slab over footprint.
CBox3 Opening(const CBox2& footprint) { return CBox3(footprint, -1.0f, 1.0f); }

}  // namespace

bool IsStoreyComplete(const CFloor& floor) {
  if (floor.rooms.GetSize() == 0 || floor.pendingRegions.GetSize() != 0) return false;
  for (int i = 0; i < floor.rooms.GetSize(); ++i) {
    if (!floor.rooms[i].IsComplete()) return false;
  }
  return true;
}

TList<CBox3> FinishedBuilding::GetWallPieces(const CFloor& floor, int storey, int wall) const {
  if (storey == 0 && entrance && entrance->wall == wall) return entrance->pieces;
  return floor.walls[wall].pieces;
}

TList<CBox3> FinishedBuilding::GetSlabs(const CFloor& floor, int storey, int room) const {
  const TList<CBox3>& slabs = floor.slabs[room];
  const std::size_t below = static_cast<std::size_t>(storey) - 1;
  if (storey == 0 || below >= stairs.size() || !stairs[below] ||
      stairs[below]->roomAbove != room) {
    return slabs;
  }
  const CBox3 opening = Opening(stairs[below]->footprint);
  TList<CBox3> open;
  for (int i = 0; i < slabs.GetSize(); ++i) {
    const TList<CBox3> rest = slabs[i].Difference(opening);
    for (int j = 0; j < rest.GetSize(); ++j) open.Add(rest[j]);
  }
  return open;
}

std::vector<int> FinishedBuilding::GetDoors(const CFloor& floor, int storey, int room) const {
  std::vector<int> doors = GetRoomDoors(floor, room);
  if (storey == 0 && entrance && entrance->room == room) {
    doors.insert(std::lower_bound(doors.begin(), doors.end(), entrance->wall), entrance->wall);
  }
  return doors;
}

Missing FinishedBuilding::GetEntranceMissing() const {
  if (entrance) return Missing::kNone;
  return !complete.empty() && complete[0] ? Missing::kNoPlace : Missing::kIncomplete;
}

Missing FinishedBuilding::GetStairMissing(std::size_t k) const {
  if (stairs[k]) return Missing::kNone;
  return complete[k] && complete[k + 1] ? Missing::kNoPlace : Missing::kIncomplete;
}

std::vector<std::string> FinishedBuilding::GetMissing() const {
  std::vector<std::string> missing;
  switch (GetEntranceMissing()) {
    case Missing::kNone:
      break;
    case Missing::kIncomplete:
      missing.push_back("no entrance: the ground storey is not complete");
      break;
    case Missing::kNoPlace:
      missing.push_back("no entrance: no outer wall of the ground storey is long enough");
      break;
  }
  for (std::size_t k = 0; k < stairs.size(); ++k) {
    const std::string pair =
        "no stair from storey " + std::to_string(k) + " to " + std::to_string(k + 1) + ": ";
    switch (GetStairMissing(k)) {
      case Missing::kNone:
        break;
      case Missing::kIncomplete:
        missing.push_back(pair + "storey " + std::to_string(complete[k] ? k + 1 : k) +
                          " is not complete");
        break;
      case Missing::kNoPlace:
        missing.push_back(pair + "no room has space for one");
        break;
    }
  }
  return missing;
}

FinishedBuilding FinishBuilding(const TList<CFloor>& floors, const FinishSettings& settings) {
  FinishedBuilding finished;
  const int storeys = floors.GetSize();
  if (storeys == 0) return finished;
  std::vector<StoreyGrid> grids;
  grids.reserve(static_cast<std::size_t>(storeys));
  for (int k = 0; k < storeys; ++k) {
    finished.complete.push_back(IsStoreyComplete(floors[k]));
    grids.emplace_back(floors[k]);
    for (int w = 0; w < floors[k].walls.GetSize(); ++w) {
      if (floors[k].walls[w].GetRoomCount() == 2) grids.back().MarkDoorway(floors[k].walls[w]);
    }
  }
  if (storeys > 0 && finished.complete[0]) {
    finished.entrance = ChooseEntrance(floors[0], grids[0], settings.entranceFacade);
    if (finished.entrance) grids[0].MarkDoorway(floors[0].walls[finished.entrance->wall]);
  }
  const int seed = finished.entrance ? finished.entrance->room : -1;
  finished.fromEntrance.push_back(GetDoorDistances(floors[0], seed, 1));
  for (int k = 0; k + 1 < storeys; ++k) {
    const auto lower = static_cast<std::size_t>(k);
    std::optional<Stair> stair;
    if (finished.complete[lower] && finished.complete[lower + 1]) {
      stair = ChooseStair(k, floors[k], grids[lower], grids[lower + 1],
                          RoomsByDistance(finished.fromEntrance[lower]));
    }
    if (stair) {
      grids[lower + 1].MarkBox(stair->footprint, StoreyGrid::kOpening);
      const CBox2 head = GetStairHead(stair->footprint, stair->climb);
      grids[lower + 1].MarkBox(head, StoreyGrid::kOpening);
      // The squares beside and beyond the head stay clear, so that the
      // next stair up never walls in the way off this one.
      for (Side side = SideLeft; side <= SideUp; ++side) {
        grids[lower + 1].MarkBox(Beside(head, side), StoreyGrid::kDoorway);
      }
    }
    const std::optional<int> below =
        stair ? finished.fromEntrance[lower][static_cast<std::size_t>(stair->roomBelow)]
              : std::nullopt;
    finished.fromEntrance.push_back(
        GetDoorDistances(floors[k + 1], below ? stair->roomAbove : -1, below ? *below + 1 : 0));
    finished.stairs.push_back(std::move(stair));
  }
  return finished;
}

std::vector<FinishedBuilding> FinishBuildings(const TList<TList<CFloor>>& buildings,
                                              const FinishSettings& settings) {
  std::vector<FinishedBuilding> finished;
  finished.reserve(static_cast<std::size_t>(buildings.GetSize()));
  for (int b = 0; b < buildings.GetSize(); ++b) finished.push_back(FinishBuilding(buildings[b], settings));
  return finished;
}

}  // namespace quarn
