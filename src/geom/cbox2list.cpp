#include "geom/cbox2list.h"

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
    int j = i + 1;
    while (j != GetSize()) {
      if ((*this)[i].Overlaps((*this)[j])) {
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

void CBox2List::SetNeighbours() {
  for (int i = 0; i < GetSize(); ++i) {
    CBox2& box = (*this)[i];
    for (int j = 0; j < GetSize(); ++j) box.AddNeighbour(&(*this)[j]);
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
