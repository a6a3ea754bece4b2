#include "geom/clattice2.h"

#include <cstdint>
#include <vector>

#include "qassert.h"

namespace {

struct MergedOutline {
  CPolygon2 outline;
  CPolygon2 next;  // the box that would be merged next, or empty
};

// Rotates outline so that its vertex 0 is not a corner of box, which keeps
// the shared stretch from wrapping around the start.
void RotateOffBox(CPolygon2& outline, const CPolygon2& box) {
  for (int turns = 0; turns < outline.GetSize() && box.Contains(outline[0]); ++turns) {
    outline.SetStart(1);
  }
}

// The outline walked as before, but at its first vertex that is a corner of
// box it goes around box (both clockwise, so the shared edge is walked in
// opposite directions) until it is back on the outline.
CPolygon2 DetourAround(const CPolygon2& outline, const CPolygon2& box) {
  CPolygon2 merged;
  bool detoured = false;
  for (int k = 0; k < outline.GetSize(); ++k) {
    merged.Add(outline[k]);
    const int entry = detoured ? TLIST_NO_INDEX : box.IndexOf(outline[k]);
    if (entry == TLIST_NO_INDEX) continue;
    detoured = true;
    CPoint2 corner;
    int b = entry;
    do {
      b = box.GetNext(b);
      corner = box[b];
      merged.Add(corner);
    } while (!outline.Contains(corner));
    k = outline.IndexOf(corner);
  }
  return merged;
}

// Merges boxes one exact neighbour at a time into one outline; limit > 0
// stops at the limit-th merge, before merging the box found in it.
MergedOutline MergeBoxes(const CBox2List& boxes, unsigned limit) {
  MergedOutline result;
  if (boxes.GetSize() == 0) return result;
  TList<const CBox2*> source;
  for (int i = 0; i < boxes.GetSize(); ++i) source.Add(&boxes[i]);
  TList<const CBox2*> merged(source[0]);
  result.outline = CPolygon2(source[0]->GetCorners());
  source.RemoveAt(0);
  CPolygon2 polybox;
  for (unsigned pass = 1; source.GetSize() > 0; ++pass) {
    int found = TLIST_NO_INDEX;
    for (int d = 0; d < merged.GetSize() && found == TLIST_NO_INDEX; ++d) {
      for (int s = 0; s < source.GetSize() && found == TLIST_NO_INDEX; ++s) {
        if (merged[d]->GetNeighbourSide(*source[s]) != SideNone) found = s;
      }
    }
    // The rest is not connected to what is merged: nothing more can join.
    if (found == TLIST_NO_INDEX) return result;
    merged.Add(source[found]);
    polybox = CPolygon2(source[found]->GetCorners());
    source.RemoveAt(found);
    RotateOffBox(result.outline, polybox);
    if (pass == limit) {
      result.next = polybox;
      return result;
    }
    result.outline = DetourAround(result.outline, polybox);
  }
  return result;
}

}  // namespace

CLattice2::CLattice2(const CBox2List& boxes) : CBox2List(boxes) {
  QUARN_ASSERT(CountPieces() < 2);
  FixAllOverlaps();
  Slice();
  SetNeighbours();
}

CLattice2::CLattice2(const CPolygon2& outline) : CBox2List(outline.GetAsBoxList()) {
  QUARN_ASSERT(CountPieces() < 2);
  QUARN_ASSERT(!OverlapsSelf());
  Slice();
  SetNeighbours();
}

CLattice2::CLattice2(const CLattice2& other) : CBox2List(other) { SetNeighbours(); }

CLattice2::CLattice2(const CBox2List& cells, Linked) : CBox2List(cells) { SetNeighbours(); }

CLattice2 CLattice2::FromCells(const CBox2List& cells) { return CLattice2(cells, Linked{}); }

CLattice2& CLattice2::operator=(const CLattice2& other) {
  CBox2List::operator=(other);
  SetNeighbours();
  return *this;
}

CBox2List CLattice2::GetBoxList() const {
  CBox2List copy(*this);
  copy.SetNeighbours();
  return copy;
}

std::uint32_t CLattice2::GetArea() const {
  std::uint32_t area = 0;
  for (int i = 0; i < GetSize(); ++i) area += static_cast<std::uint32_t>((*this)[i].GetArea());
  return area;
}

CPolygon2 CLattice2::GetAsPolygon() const { return MergeBoxes(GetBoxList(), 0).outline; }

TList<CPolygon2> CLattice2::GetAsPolygons(unsigned limit) const {
  MergedOutline merged = MergeBoxes(*this, limit);
  TList<CPolygon2> result(merged.outline);
  result.Add(merged.next);
  return result;
}

// The walk by index with cut-off parts appended is run on plain corners
// first; then the boxes that changed are reshaped in one pass and the new
// ones appended, which leaves the same boxes, order and links as cutting the
// list in place.
void CLattice2::Subdivide(unsigned maxSize, unsigned step) {
  if (!QUARN_ASSERT(maxSize != 0)) return;
  if (step == 0) step = maxSize;
  if (!QUARN_ASSERT(maxSize >= step)) return;
  struct Corners {
    CPoint2 low, high;
  };
  std::vector<Corners> boxes;
  for (int i = 0; i < GetSize(); ++i) boxes.push_back({(*this)[i].GetMin(), (*this)[i].GetMax()});
  const std::size_t original = boxes.size();
  std::vector<bool> changed(original, false);
  for (int axis = 0; axis < 2; ++axis) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const CPoint2 low = boxes[i].low;
      const CPoint2 high = boxes[i].high;
      const std::int64_t extent = std::int64_t{high[axis]} - low[axis];
      if (extent <= std::int64_t{maxSize}) continue;
      CPoint2 cut = low;
      cut[axis] = static_cast<std::int32_t>(low[axis] + std::int64_t{step});
      CPoint2 cutHigh = high;
      cutHigh[axis] = cut[axis];
      boxes.push_back({cut, high});
      boxes[i].high = cutHigh;
      if (i < original) changed[i] = true;
    }
  }
  for (std::size_t i = 0; i < original; ++i) {
    if (changed[i]) (*this)[static_cast<int>(i)].Set(boxes[i].low, boxes[i].high);
  }
  for (std::size_t i = original; i < boxes.size(); ++i) Add(CBox2(boxes[i].low, boxes[i].high));
}

std::uint64_t CountSubdivided(const CBox2& box, unsigned maxSize, unsigned step) {
  if (maxSize == 0 || step > maxSize) return 1;
  if (step == 0) step = maxSize;
  // Along one axis, every cut takes step units off while more than maxSize
  // are left: ceil((extent - maxSize) / step) cuts.
  const auto pieces = [&](std::int64_t extent) -> std::uint64_t {
    if (extent <= std::int64_t{maxSize}) return 1;
    return 1 + static_cast<std::uint64_t>((extent - maxSize + step - 1) / step);
  };
  const CPoint2 low = box.GetMin();
  const CPoint2 high = box.GetMax();
  return pieces(std::int64_t{high.x} - low.x) * pieces(std::int64_t{high.y} - low.y);
}

bool operator<(const CLattice2& a, const CLattice2& b) { return a.GetArea() < b.GetArea(); }
