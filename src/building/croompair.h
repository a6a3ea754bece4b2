#pragma once

class CRoom;

// The one or two rooms on the sides of a wall: first is the room whose edge
// made the wall, second the room met on the other side, if any. Both are
// non-owning pointers into a floor's room list (null when absent) and never
// name the same room twice.
class CRoomPair {
 public:
  explicit CRoomPair(CRoom* a = nullptr, CRoom* b = nullptr);

  // Fills first, then second; a third room, or null, is dropped.
  void AddRoom(CRoom* room);
  // 2 when both sides are set, 1 when one is, 0 when none is.
  int GetRoomCount() const;

  bool operator==(const CRoomPair&) const = default;

  CRoom* first;
  CRoom* second;

 private:
  void AssertDistinct() const;
};
