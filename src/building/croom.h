#pragma once

#include "geom/cpolygon2.h"

class CFloor;

// One room of a floor. outline is the room as designed, without collinear
// vertices (clockwise, grid units); wallOutline is the same loop plus the
// corners of neighbouring rooms that lie on its edges, so that a stretch of
// wall shared with a neighbour is one edge in both rooms. complete is false
// only for a room the step budget stopped while candidates were left.
// floor is a non-owning back reference.
class CRoom {
 public:
  // Stores a copy of outline with its splits removed (x, then y).
  CRoom(CFloor* floor, const CPolygon2& outline, bool complete);

  CPolygon2 GetWallOutline() const { return wallOutline; }
  bool IsComplete() const { return complete; }

  CFloor* floor;
  CPolygon2 outline;
  CPolygon2 wallOutline;
  bool complete;
};
