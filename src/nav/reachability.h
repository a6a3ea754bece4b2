#pragma once

#include <optional>
#include <string>
#include <vector>

#include "nav/navgeometry.h"
#include "nav/navmesh.h"

namespace quarn {

// How one room is reached from the entrance. freePoint (metres, on the
// room's floor) is the centre of the largest disc of free floor in the room,
// freeRadius that disc's radius. When reachable, pathLength is the length in
// metres of the straight path from the start to freePoint; otherwise reason
// is the first of these that holds:
//   "storey K is not complete"
//   "the building has no entrance"
//   "no stair reaches storey K"
//   "no open door leads to it"
//   "it has no free floor as wide as the agent"
//   "its only door is W m wide" / "its doors are W m wide"
//     (narrower than the agent)
//   "furniture blocks the way"
//   "no path on the navigation mesh: WHY" (the mesh could not be built)
//   "no path on the navigation mesh"
struct RoomReach {
  bool reachable = false;
  std::optional<float> pathLength;
  CVector3 freePoint;
  float freeRadius = 0.0f;
  std::string reason;
};

// The navigation of one finished building: its mesh (none when it could not
// be built), the start (metres, on the ground at the middle of the square
// outside the entrance; none without an entrance), rooms[k][r] for room r
// of storey k, and one phrase per room the navigation finds unreachable,
// for example "room 7 on storey 1 unreachable: its only door is 0.8 m
// wide" (rooms kept out by an incomplete storey, a missing entrance or a
// missing stair are left to the finished building's own notes).
struct NavBuilding {
  std::optional<NavMesh> mesh;
  std::optional<CVector3> start;
  std::vector<std::vector<RoomReach>> rooms;
  std::vector<std::string> unreachable;
};

// Builds the mesh of one finished building and finds the way to every room.
// typed and furnished are optional (see GetWalkableGeometry).
NavBuilding NavigateBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                             const TypedBuilding* typed, const FurnishedBuilding* furnished,
                             const NavScale& scale, const NavAgent& agent = {});

// The point 1 grid unit in front of the entrance's middle, outside, on the
// ground (metres); the walker starts further out along the same line.
CVector3 GetOutsidePoint(const Entrance& entrance, const NavScale& scale, float unitsOut);

}  // namespace quarn
