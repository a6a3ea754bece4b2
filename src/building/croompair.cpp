#include "building/croompair.h"

#include "qassert.h"

CRoomPair::CRoomPair(CRoom* a, CRoom* b) : first(a), second(b) { AssertDistinct(); }

void CRoomPair::AddRoom(CRoom* room) {
  if (room == nullptr) return;
  if (first == nullptr) {
    first = room;
  } else if (second == nullptr) {
    second = room;
  }
  AssertDistinct();
}

int CRoomPair::GetRoomCount() const {
  return (first != nullptr ? 1 : 0) + (second != nullptr ? 1 : 0);
}

void CRoomPair::AssertDistinct() const {
  QUARN_ASSERT(first == nullptr || second == nullptr || first != second);
}
