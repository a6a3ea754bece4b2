#pragma once

#include <optional>

#include "app/ckeyset.h"
#include "app/cmousestate.h"
#include "geom/cbox2.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"
#include "tlist.h"

// State handling shared by the developer benches: the dragged cursor and the
// placing of boxes corner by corner. No GL here, so it runs without a context.

namespace quarn {

// Pixels of left-button drag per grid unit of a bench's cursor.
constexpr int kBenchDragPerUnit = 32;

// Axis choice for FollowPointer: both coordinates of the drag move.
constexpr int kBothAxes = -1;

// While the left button is held, adds the frame's pointer movement to drag
// (only its coordinate on axis 0 or 1, or both for kBothAxes), then sets
// cursor to drag / 32, truncating toward zero. drag is in pixels, cursor in
// grid units.
void FollowPointer(const CMouseState& mouse, CPoint2& drag, CPoint2& cursor, int axis = kBothAxes);

// The box spanned by the pending corner and the cursor: none when no corner
// is pending or the two share an x or a y.
std::optional<CBox2> GetPendingBox(const std::optional<CPoint2>& pendingCorner,
                                   const CPoint2& cursor);

// The SPACE rule: with no pending corner the cursor becomes it; with one
// that spans a box with the cursor, the box is appended to boxes and the
// corner dropped; otherwise nothing changes.
void PlaceCorner(std::optional<CPoint2>& pendingCorner, const CPoint2& cursor, CBox2List& boxes);

// The U, D, I rule of the benches: a.Union(b), a.Difference(b) or
// a.Intersection(b) for the first of those keys pressed, nothing for none.
// Works for boxes and for box lists alike.
template <class Region>
std::optional<CBox2List> CombineByKey(const Region& a, const Region& b, const CKeySet& keys) {
  if (keys.WasPressed('U')) return a.Union(b);
  if (keys.WasPressed('D')) return a.Difference(b);
  if (keys.WasPressed('I')) return a.Intersection(b);
  return std::nullopt;
}

// A list of box lists as the list benches keep it: cleared to one empty list.
void ResetLists(TList<CBox2List>& lists);

// The number of boxes in all lists.
int CountBoxes(const TList<CBox2List>& lists);

// The M rule of the list benches: when any list holds a box, drops the
// trailing empty lists, then the last box of the last list.
void RemoveLastBox(TList<CBox2List>& lists);

}  // namespace quarn
