#pragma once

#include "building/croompair.h"
#include "geom/cbox3.h"
#include "geom/cedge2.h"
#include "tlist.h"

class CFloor;
class CRoom;

namespace quarn {

// How high a wall stands, and so how far one storey's floor is above the
// one below, in grid units: the one source of the drawing's, the exports'
// and the stairs' storey height.
inline constexpr float kStoreyRise = 1.5f;

}  // namespace quarn

// A wall 0.2 thick and 1.5 high standing on one edge of a room outline, with
// the rooms on its sides. A wall along x reaches 0.1 past both ends of its
// edge, a wall along y stops 0.1 short of them, so walls meeting at a corner
// touch without overlapping. solid holds the uncut wall box; pieces the box
// with its opening (door or window) cut out, or the uncut box when it has
// none. floor and the rooms of pair are non-owning back references.
class CWall {
 public:
  // The wall of edge edgeIndex of room's wall outline, first room room.
  CWall(CFloor* floor, CRoom& room, int edgeIndex);

  // Half extents of the openings (along x, along y, up).
  static const CVector3 WINDOW_HALF_SIZE;
  static const CVector3 DOOR_HALF_SIZE;

  void AddRoom(CRoom& room) { pair.AddRoom(&room); }
  int GetRoomCount() const { return pair.GetRoomCount(); }

  // Outer walls longer than this (twice the window's half width) take a
  // window; the entrance goes only into such a wall.
  static constexpr double kWindowWallLength = 1.2;

  // Cuts a door when the wall stands between two rooms, a window when it is
  // an outer wall longer than kWindowWallLength; shorter ones stay whole.
  void CutOpening();
  // The doorway box CutOpening cuts between two rooms: 1.0 along the wall,
  // centred on it, open from below the floor up to 1.3.
  CBox3 GetDoorBox() const;

  CBox3 GetSolidBox() const;
  TList<CBox3> GetPieces() const { return pieces; }
  // Euclidean length of the edge.
  float GetLength() const;

  enum class Opening { kNone, kDoor, kWindow };
  // What CutOpening cut: nothing (pieces is the solid box), a door between
  // two rooms or a window in an outer wall.
  Opening GetOpening() const;

  CRoomPair pair;
  CFloor* floor;
  TList<CBox3> solid;
  CEdge2 edge;
  TList<CBox3> pieces;
};
