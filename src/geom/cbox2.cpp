#include "geom/cbox2.h"

#include <algorithm>

#include "geom/cbox2list.h"
#include "qassert.h"

bool IsValidBoxCorners(const CPoint2& a, const CPoint2& b) { return a.x != b.x && a.y != b.y; }

CBox2::CBox2(const CPoint2& a, const CPoint2& b) { Set(a, b); }

CBox2::CBox2(const CBox2& other) : minCorner(other.minCorner), maxCorner(other.maxCorner) {}

CBox2& CBox2::operator=(const CBox2& other) {
  ClearNeighbours();
  minCorner = other.minCorner;
  maxCorner = other.maxCorner;
  return *this;
}

CBox2::~CBox2() { ClearNeighbours(); }

void CBox2::Set(const CPoint2& a, const CPoint2& b) {
  QUARN_ASSERT(IsValidBoxCorners(a, b));
  ClearNeighbours();
  minCorner = Min(a, b);
  maxCorner = Max(a, b);
}

int CBox2::GetArea() const {
  const CPoint2 size = GetSize();
  return size.x * size.y;
}

CVector2 CBox2::GetCentre() const {
  return {static_cast<float>((static_cast<double>(minCorner.x) + maxCorner.x) / 2.0),
          static_cast<float>((static_cast<double>(minCorner.y) + maxCorner.y) / 2.0)};
}

TList<CPoint2> CBox2::GetCorners() const {
  TList<CPoint2> corners;
  corners.Add({minCorner.x, maxCorner.y});
  corners.Add({maxCorner.x, maxCorner.y});
  corners.Add({maxCorner.x, minCorner.y});
  corners.Add({minCorner.x, minCorner.y});
  return corners;
}

bool CBox2::IsCorner(const CPoint2& p) const {
  return (p.x == minCorner.x || p.x == maxCorner.x) && (p.y == minCorner.y || p.y == maxCorner.y);
}

bool CBox2::OverlapsOnAxis(const CBox2& other, int axis) const {
  QUARN_ASSERT_FATAL(axis >= 0 && axis < 2);
  return other.maxCorner[axis] > minCorner[axis] && other.minCorner[axis] < maxCorner[axis];
}

bool CBox2::Overlaps(const CBox2& other) const {
  return OverlapsOnAxis(other, 0) && OverlapsOnAxis(other, 1);
}

Side CBox2::GetNeighbourSide(const CBox2& other) const {
  const CPoint2 bottomRight(maxCorner.x, minCorner.y);
  const CPoint2 topLeft(minCorner.x, maxCorner.y);
  if (other.IsCorner(bottomRight)) {
    if (other.IsCorner(maxCorner) && !OverlapsOnAxis(other, 0)) return SideRight;
    if (other.IsCorner(minCorner) && !OverlapsOnAxis(other, 1)) return SideDown;
  } else if (other.IsCorner(topLeft)) {
    if (other.IsCorner(maxCorner) && !OverlapsOnAxis(other, 1)) return SideUp;
    if (other.IsCorner(minCorner) && !OverlapsOnAxis(other, 0)) return SideLeft;
  }
  return SideNone;
}

Side CBox2::GetPartialNeighbourSide(const CBox2& other) const {
  if (OverlapsOnAxis(other, 0)) {
    if (other.maxCorner.y == minCorner.y) return SideDown;
    if (other.minCorner.y == maxCorner.y) return SideUp;
    return SideNone;
  }
  if (OverlapsOnAxis(other, 1)) {
    if (other.maxCorner.x == minCorner.x) return SideLeft;
    if (other.minCorner.x == maxCorner.x) return SideRight;
  }
  return SideNone;
}

void CBox2::SetLink(Side s, CBox2* other) {
  CBox2* old = neighbours[s];
  if (old == other) return;
  if (old) {
    auto entry = std::find(old->linkedFrom.begin(), old->linkedFrom.end(), this);
    if (entry != old->linkedFrom.end()) old->linkedFrom.erase(entry);
  }
  neighbours[s] = other;
  if (other) other->linkedFrom.push_back(this);
}

void CBox2::AddNeighbour(CBox2* other) {
  if (!QUARN_ASSERT(other != nullptr)) return;
  const Side s = GetNeighbourSide(*other);
  if (s < 4) SetLink(s, other);
}

CBox2* CBox2::GetNeighbour(Side s) const {
  if (s < 0 || s >= 4 || !neighbours[s]) return nullptr;
  QUARN_ASSERT(GetNeighbourSide(*neighbours[s]) == s);
  return neighbours[s];
}

int CBox2::GetNeighbourCount() const {
  return static_cast<int>(std::count_if(std::begin(neighbours), std::end(neighbours),
                                        [](const CBox2* n) { return n != nullptr; }));
}

int CBox2::GetNeighbourShape() const {
  return NeighbourShape(neighbours[SideLeft] != nullptr, neighbours[SideRight] != nullptr,
                        neighbours[SideDown] != nullptr, neighbours[SideUp] != nullptr);
}

void CBox2::RemoveNeighbour(const CBox2* b) {
  for (Side s = 0; s < 4; ++s) {
    if (neighbours[s] == b) SetLink(s, nullptr);
  }
}

void CBox2::ClearNeighbours() {
  for (Side s = 0; s < 4; ++s) {
    CBox2* neighbour = neighbours[s];
    if (!neighbour) continue;
    neighbour->RemoveNeighbour(this);
    SetLink(s, nullptr);
  }
  // One-way links from boxes this box does not link back to.
  while (!linkedFrom.empty()) linkedFrom.back()->RemoveNeighbour(this);
}

namespace {

// Clips box against cut. Keeping the outside gives the strips of box that
// cut does not cover (left, right, bottom, top); otherwise the one box that
// remains of box inside cut.
CBox2List Clip(const CBox2& box, const CBox2& cut, bool keepOutside) {
  CBox2List pieces;
  if (!box.Overlaps(cut)) {
    if (keepOutside) pieces.Add(box);
    return pieces;
  }
  CPoint2 low = box.minCorner;
  CPoint2 high = box.maxCorner;
  for (int axis = 0; axis < 2; ++axis) {
    if (cut.minCorner[axis] >= low[axis] && cut.minCorner[axis] <= high[axis]) {
      CPoint2 corner = high;
      corner[axis] = cut.minCorner[axis];
      if (keepOutside && IsValidBoxCorners(low, corner)) pieces.Add(CBox2(low, corner));
      low[axis] = cut.minCorner[axis];
    }
    if (cut.maxCorner[axis] >= low[axis] && cut.maxCorner[axis] <= high[axis]) {
      CPoint2 corner = low;
      corner[axis] = cut.maxCorner[axis];
      if (keepOutside && IsValidBoxCorners(corner, high)) pieces.Add(CBox2(corner, high));
      high[axis] = cut.maxCorner[axis];
    }
  }
  if (!keepOutside) pieces.Add(CBox2(low, high));
  return pieces;
}

}  // namespace

CBox2List CBox2::Difference(const CBox2& other) const { return Clip(*this, other, true); }

CBox2List CBox2::Intersection(const CBox2& other) const { return Clip(*this, other, false); }

CBox2List CBox2::Union(const CBox2& other) const {
  CBox2List pieces = Difference(other);
  pieces.Add(other);
  return pieces;
}

void CBox2::Print(std::ostream& os) const {
  const CPoint2 size = GetSize();
  os << "  x: " << minCorner.x << " to " << maxCorner.x << " = " << size.x << '\n' << std::flush;
  os << "  y: " << minCorner.y << " to " << maxCorner.y << " = " << size.y << '\n' << std::flush;
  os << "  area: " << GetArea() << '\n' << std::flush;
  os << "  neighbours: ";
  for (Side s = 0; s < 4; ++s) os << (GetNeighbour(s) ? kSideLetters[s] : '_');
  os << '\n' << std::flush;
}

std::ostream& operator<<(std::ostream& os, const CBox2& box) {
  return os << box.minCorner << '-' << box.maxCorner;
}
