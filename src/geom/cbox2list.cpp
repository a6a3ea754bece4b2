#include "geom/cbox2list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "qassert.h"

namespace {

// True when value lies strictly between the box's bounds on axis.
bool IsStrictlyInside(const CBox2& box, int axis, int value) {
  return value > box.minCorner[axis] && value < box.maxCorner[axis];
}

// True when a line of other's edges on axis passes strictly through box.
bool CutsOnAxis(const CBox2& box, const CBox2& other, int axis) {
  return IsStrictlyInside(box, axis, other.minCorner[axis]) ||
         IsStrictlyInside(box, axis, other.maxCorner[axis]);
}

// One key per grid point, for looking boxes up by their corners.
std::uint64_t CornerKey(const CPoint2& p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32) |
         static_cast<std::uint32_t>(p.y);
}

bool AreConnected(const CBox2& a, const CBox2& b) {
  return a.Overlaps(b) || a.GetPartialNeighbourSide(b) != SideNone;
}

// Cuts box i of list at coordinate cut on axis when the cut passes strictly
// through it: the low part stays at i (reshaped, so unlinked), the high part
// is appended.
void CutAt(CBox2List& list, int i, int axis, int cut) {
  const CPoint2 low = list[i].minCorner;
  const CPoint2 high = list[i].maxCorner;
  if (cut <= low[axis] || cut >= high[axis]) return;
  CPoint2 highStart = low;
  highStart[axis] = cut;
  CPoint2 lowEnd = high;
  lowEnd[axis] = cut;
  list.Add(CBox2(highStart, high));
  list[i].Set(low, lowEnd);
}

// Moves into a new piece the first box of rest and every box of rest
// connected to it, directly or through other boxes of the piece.
CBox2List TakePiece(CBox2List& rest) {
  CBox2List piece(rest[0]);
  rest.RemoveAt(0);
  int sizeAtPassStart = 0;
  do {
    sizeAtPassStart = piece.GetSize();
    for (int p = 0; p < piece.GetSize(); ++p) {
      int w = 0;
      while (w < rest.GetSize()) {
        if (AreConnected(piece[p], rest[w])) {
          piece.Add(rest[w]);
          rest.RemoveAt(w);
        } else {
          ++w;
        }
      }
    }
  } while (piece.GetSize() != sizeAtPassStart);
  return piece;
}

}  // namespace

bool CBox2List::Overlaps(const CBox2& box) const {
  for (int i = 0; i < GetSize(); ++i) {
    if ((*this)[i].Overlaps(box)) return true;
  }
  return false;
}

bool CBox2List::OverlapsSelf() const {
  for (int i = 0; i < GetSize(); ++i) {
    for (int j = i + 1; j < GetSize(); ++j) {
      if ((*this)[i].Overlaps((*this)[j])) return true;
    }
  }
  return false;
}

bool CBox2List::IsPartialNeighbourOf(const CBox2& box) const {
  for (int i = 0; i < GetSize(); ++i) {
    const CBox2& b = (*this)[i];
    if (b.GetPartialNeighbourSide(box) != SideNone || b.Overlaps(box)) return true;
  }
  return false;
}

bool CBox2List::IsSlicedBy(const CBox2& box) const {
  for (int i = 0; i < GetSize(); ++i) {
    for (int axis = 0; axis < 2; ++axis) {
      if (CutsOnAxis((*this)[i], box, axis)) return true;
    }
  }
  return false;
}

bool CBox2List::SlicesSelf() const {
  for (int i = 0; i < GetSize(); ++i) {
    for (int j = i + 1; j < GetSize(); ++j) {
      for (int axis = 0; axis < 2; ++axis) {
        if (CutsOnAxis((*this)[i], (*this)[j], axis)) return true;
      }
    }
  }
  return false;
}

int CBox2List::CountPieces() const {
  if (GetSize() < 2) return GetSize();
  CBox2List rest(*this);
  int pieces = 0;
  while (rest.GetSize() > 0) {
    TakePiece(rest);
    ++pieces;
  }
  return pieces;
}

TList<CBox2List> CBox2List::GetSeperatePieces() const {
  TList<CBox2List> pieces;
  if (GetSize() == 1) pieces.Add(*this);
  if (GetSize() < 2) return pieces;
  CBox2List rest(*this);
  while (rest.GetSize() > 0) pieces.Add(TakePiece(rest));
  return pieces;
}

CBox2List CBox2List::Difference(const CBox2List& other) const {
  CBox2List remaining(*this);
  for (int o = 0; o < other.GetSize(); ++o) {
    CBox2List clipped;
    for (int w = 0; w < remaining.GetSize(); ++w) {
      clipped.AddList(remaining[w].Difference(other[o]));
    }
    remaining = clipped;
  }
  return remaining;
}

CBox2List CBox2List::Union(const CBox2List& other) const {
  CBox2List result = Difference(other);
  result.AddList(other);
  return result;
}

CBox2List CBox2List::Intersection(const CBox2List& other) const {
  CBox2List result;
  for (int a = 0; a < GetSize(); ++a) {
    for (int b = 0; b < other.GetSize(); ++b) {
      if ((*this)[a].Overlaps(other[b])) result.AddList((*this)[a].Intersection(other[b]));
    }
  }
  return result;
}

void CBox2List::FixAllOverlaps() {
  CBox2List removed;
  for (int i = 0; i < GetSize() - 1; ++i) {
    // Box i stays in place while later boxes are removed; holding it keeps
    // the cursor walking forward over j instead of back to i every time.
    const CBox2& kept = (*this)[i];
    int j = i + 1;
    while (j != GetSize()) {
      if (kept.Overlaps((*this)[j])) {
        removed.Add((*this)[j]);
        RemoveAt(j);
      } else {
        ++j;
      }
    }
  }
  for (int r = 0; r < removed.GetSize(); ++r) {
    AddList(CBox2List(removed[r]).Difference(*this));
  }
}

void CBox2List::SliceBy(const CBox2& box) {
  const CPoint2 cutLow = box.minCorner;
  const CPoint2 cutHigh = box.maxCorner;
  for (int i = 0; i < GetSize(); ++i) {
    for (int axis = 0; axis < 2; ++axis) {
      CutAt(*this, i, axis, cutLow[axis]);
      CutAt(*this, i, axis, cutHigh[axis]);
    }
  }
}

void CBox2List::Slice() {
  SliceAxis(0);
  SliceAxis(1);
}

void CBox2List::SliceAxis(int axis) {
  if (!QUARN_ASSERT(axis >= 0 && axis < 2)) return;
  if (GetSize() < 2) return;
  const CBox2List snapshot(*this);
  for (int s = 0; s < snapshot.GetSize(); ++s) {
    const int cutLow = snapshot[s].minCorner[axis];
    const int cutHigh = snapshot[s].maxCorner[axis];
    for (int j = 0; j < GetSize(); ++j) {
      CutAt(*this, j, axis, cutLow);
      CutAt(*this, j, axis, cutHigh);
    }
  }
}

// A box is an exact neighbour only of boxes that have its bottom-right or
// top-left corner as one of their own corners. Offering each box just those,
// in list order, makes the same links as offering it every box of the list,
// in linear rather than quadratic time.
void CBox2List::SetNeighbours() {
  std::vector<CBox2*> boxes;
  boxes.reserve(static_cast<std::size_t>(GetSize()));
  std::unordered_map<std::uint64_t, std::vector<int>> boxesByCorner;
  for (int j = 0; j < GetSize(); ++j) {
    CBox2& box = (*this)[j];
    boxes.push_back(&box);
    const CPoint2 low = box.minCorner;
    const CPoint2 high = box.maxCorner;
    for (const CPoint2& corner : {CPoint2(low.x, high.y), high, CPoint2(high.x, low.y), low}) {
      boxesByCorner[CornerKey(corner)].push_back(j);
    }
  }
  const std::vector<int> none;
  auto sharing = [&](const CPoint2& corner) -> const std::vector<int>& {
    const auto found = boxesByCorner.find(CornerKey(corner));
    return found == boxesByCorner.end() ? none : found->second;
  };
  std::vector<int> candidates;
  for (int i = 0; i < GetSize(); ++i) {
    CBox2& box = *boxes[static_cast<std::size_t>(i)];
    const std::vector<int>& atBottomRight = sharing(CPoint2(box.maxCorner.x, box.minCorner.y));
    const std::vector<int>& atTopLeft = sharing(CPoint2(box.minCorner.x, box.maxCorner.y));
    candidates.clear();
    std::set_union(atBottomRight.begin(), atBottomRight.end(), atTopLeft.begin(), atTopLeft.end(),
                   std::back_inserter(candidates));
    for (int j : candidates) box.AddNeighbour(boxes[static_cast<std::size_t>(j)]);
  }
}

void CBox2List::Print(std::ostream& os) const {
  os << "  size: " << GetSize() << '\n' << std::flush;
  os << "  exact neighbours: ";
  for (Side s = 0; s < 4; ++s) {
    int linked = 0;
    for (int i = 0; i < GetSize(); ++i) {
      if ((*this)[i].GetNeighbour(s)) ++linked;
    }
    os << kSideLetters[s] << '=' << linked << "  ";
  }
  os << '\n' << std::flush;
}

std::ostream& operator<<(std::ostream& os, const CBox2List& list) {
  os << '[';
  for (int i = 0; i < list.GetSize(); ++i) os << (i > 0 ? ", " : "") << list[i];
  return os << ']';
}
