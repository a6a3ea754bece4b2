#pragma once

#include <cstdint>
#include <vector>

#include "building/cfloor.h"
#include "geom/cbox2.h"

namespace quarn {

// The rooms of one storey on the unit squares of the grid, with the squares
// that must stay clear for walking. Square (x, y) is [x, x + 1] x [y, y + 1]
// in grid units. Built from the rooms' floor slabs, which cover each room
// exactly; squares outside every room (outside the building, a courtyard)
// belong to room -1.
class StoreyGrid {
 public:
  // What keeps a square from taking a stair: the doorway clearance, or a
  // hole in the floor (a stair opening and the landing above it).
  enum Mark : std::uint8_t { kFree = 0, kDoorway = 1, kOpening = 2 };

  explicit StoreyGrid(const CFloor& floor);

  // The room holding square (x, y), or -1.
  int RoomAt(int x, int y) const;
  Mark MarkAt(int x, int y) const;

  // Marks the 1 x 1 squares in front of the middle of wall's edge, on both
  // of its sides, as doorway (a half-unit middle marks both squares it
  // touches).
  void MarkDoorway(const CWall& wall);
  // Marks every square of box with mark, unless it already has a stronger one.
  void MarkBox(const CBox2& box, Mark mark);

  // True when every square of box is in room and carries no mark above
  // allowed.
  bool Holds(const CBox2& box, int room, Mark allowed) const;
  // True when every square of box belongs to some room other than room
  // (rooms, not the outside).
  bool IsOtherRooms(const CBox2& box, int room) const;

 private:
  // The index of square (x, y) in the lists, or -1 outside the grid.
  long Index(int x, int y) const;

  CPoint2 origin_{0, 0};
  int width_ = 0;
  int height_ = 0;
  std::vector<int> rooms_;
  std::vector<Mark> marks_;
};

}  // namespace quarn
