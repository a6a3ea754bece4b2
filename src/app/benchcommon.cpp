#include "app/benchcommon.h"

#include <cstdint>

namespace quarn {

namespace {

constexpr std::uint8_t kLeftButton = 1;

}  // namespace

void FollowPointer(const CMouseState& mouse, CPoint2& drag, CPoint2& cursor, int axis) {
  if (!mouse.IsDown(kLeftButton)) return;
  const CPoint2 delta = mouse.GetDelta();
  if (axis == kBothAxes) {
    drag += delta;
  } else {
    drag[axis] += delta[axis];
  }
  cursor = drag / kBenchDragPerUnit;
}

std::optional<CBox2> GetPendingBox(const std::optional<CPoint2>& pendingCorner,
                                   const CPoint2& cursor) {
  if (!pendingCorner || !IsValidBoxCorners(*pendingCorner, cursor)) return std::nullopt;
  return CBox2(*pendingCorner, cursor);
}

void PlaceCorner(std::optional<CPoint2>& pendingCorner, const CPoint2& cursor, CBox2List& boxes) {
  if (!pendingCorner) {
    pendingCorner = cursor;
    return;
  }
  if (const std::optional<CBox2> box = GetPendingBox(pendingCorner, cursor)) {
    boxes.Add(*box);
    pendingCorner.reset();
  }
}

void ResetLists(TList<CBox2List>& lists) {
  lists.Clear();
  lists.Add(CBox2List());
}

int CountBoxes(const TList<CBox2List>& lists) {
  int count = 0;
  for (int i = 0; i < lists.GetSize(); ++i) count += lists[i].GetSize();
  return count;
}

void RemoveLastBox(TList<CBox2List>& lists) {
  if (CountBoxes(lists) == 0) return;
  while (lists[lists.GetSize() - 1].GetSize() == 0) lists.RemoveLast();
  lists[lists.GetSize() - 1].RemoveLast();
}

}  // namespace quarn
