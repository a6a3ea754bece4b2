#pragma once

#include <ostream>

#include "geom/cpoint2.h"
#include "geom/cvector2.h"
#include "qassert.h"

// A segment between two distinct grid points. Its direction (p1 to p2)
// matters for GetDirection only; equality ignores it.
struct CEdge2 {
  CPoint2 p1;
  CPoint2 p2;

  // Reports an assertion when the end points coincide; the edge is kept
  // anyway (it then intersects nothing).
  CEdge2(const CPoint2& a, const CPoint2& b) : p1(a), p2(b) { QUARN_ASSERT(p1 != p2); }

  // p1 for n == 1, p2 for any other n.
  const CPoint2& GetPoint(int n) const { return n == 1 ? p1 : p2; }

  // Equal when the end points match in the same or the swapped order.
  bool operator==(const CEdge2& o) const {
    return (p1 == o.p1 && p2 == o.p2) || (p1 == o.p2 && p2 == o.p1);
  }

  CVector2 GetDirection() const { return CVector2(p2 - p1); }

  // Closed-segment intersection: touching at an end point counts; parallel
  // edges (within 0.001) never intersect, even when collinear and overlapping.
  bool Intersects(const CEdge2& other) const;
};

// Prints "(x1,y1)-(x2,y2)".
inline std::ostream& operator<<(std::ostream& os, const CEdge2& e) {
  return os << e.p1 << '-' << e.p2;
}
