#pragma once

#include <iostream>
#include <ostream>
#include <vector>

#include "geom/cpoint2.h"
#include "geom/cvector2.h"
#include "geom/side.h"
#include "tlist.h"

class CBox2List;

// True when a and b span a box of positive width and height (they differ in
// x and in y). Test this before building a box from computed corners.
bool IsValidBoxCorners(const CPoint2& a, const CPoint2& b);

// An axis-aligned box on the integer grid, never empty: minCorner is the
// lower-left and maxCorner the upper-right corner, minCorner.x < maxCorner.x
// and minCorner.y < maxCorner.y.
//
// Each box keeps up to four neighbour links, indexed by Side 0..3: raw,
// non-owning pointers to exact neighbours that live elsewhere (normally in
// the same CBox2List). Links never dangle: a box that is destroyed, assigned
// to or reshaped with Set drops its own links and every link pointing at it.
// Copies start without links. Moves are copies.
class CBox2 {
 public:
  CPoint2 minCorner;
  CPoint2 maxCorner;

  // The box spanned by two opposite corners given in any order.
  CBox2(const CPoint2& a, const CPoint2& b);
  CBox2(const CBox2& other);
  CBox2& operator=(const CBox2& other);
  ~CBox2();

  // Unlinks the box, then spans it between a and b. Reports an assertion
  // (and still spans the box) when the corners share an x or a y.
  void Set(const CPoint2& a, const CPoint2& b);

  CPoint2 GetMin() const { return minCorner; }
  CPoint2 GetMax() const { return maxCorner; }
  CPoint2 GetSize() const { return (maxCorner - minCorner).Abs(); }
  int GetArea() const;
  CVector2 GetCentre() const;
  // Top-left, top-right, bottom-right, bottom-left.
  TList<CPoint2> GetCorners() const;
  bool IsCorner(const CPoint2& p) const;

  // Open-interval overlap on one axis (0 or 1): touching is not overlapping.
  bool OverlapsOnAxis(const CBox2& other, int axis) const;
  // Overlap on both axes; boxes sharing only an edge or a corner do not overlap.
  bool Overlaps(const CBox2& other) const;

  // The side on which other is an exact neighbour (it has this box's whole
  // side as one of its own sides), or SideNone.
  Side GetNeighbourSide(const CBox2& other) const;
  // The side along which other touches this box over a positive length, or
  // SideNone (also for overlapping boxes and corner contact).
  Side GetPartialNeighbourSide(const CBox2& other) const;

  // Links other on the side where it is an exact neighbour, replacing any
  // earlier link on that side; does nothing when it is no exact neighbour.
  // The link is one-way: other does not link back.
  void AddNeighbour(CBox2* other);
  // Null for s >= 4 or no link. Reports an assertion (and still returns the
  // link) when the linked box is no longer the exact neighbour on side s.
  CBox2* GetNeighbour(Side s) const;
  int GetNeighbourCount() const;
  // 0 no links, 1 one side, 2 two sides meeting at a corner, 3 two opposite
  // sides, 4 three sides, 5 all four.
  int GetNeighbourShape() const;
  // Clears every link of this box to b.
  void RemoveNeighbour(const CBox2* b);
  // Clears this box's links and every link that points at this box.
  void ClearNeighbours();

  // This box minus other: up to four strips in the order left, right (full
  // height), bottom, top; the box itself when they do not overlap.
  CBox2List Difference(const CBox2& other) const;
  // The overlap of the two boxes as one box, or an empty list.
  CBox2List Intersection(const CBox2& other) const;
  // Difference(other) followed by a copy of other.
  CBox2List Union(const CBox2& other) const;

  // Writes four lines: x range and size, y range and size, area, and the
  // linked sides as "L", "R", "D", "U" or "_" for each side 0..3.
  void Print(std::ostream& os = std::cout) const;

  // Boxes are equal when their corners are; links are not compared.
  bool operator==(const CBox2& other) const {
    return minCorner == other.minCorner && maxCorner == other.maxCorner;
  }

 private:
  // Points side s at other (may be null), keeping the back references of the
  // old and the new target right.
  void SetLink(Side s, CBox2* other);

  CBox2* neighbours[4] = {nullptr, nullptr, nullptr, nullptr};
  // The boxes holding a link to this box, one entry per link.
  std::vector<CBox2*> linkedFrom;
};

// The shape of a box's linked sides: 0 none, 1 one side, 2 two sides meeting
// at a corner, 3 two opposite sides, 4 three sides, 5 all four.
inline int NeighbourShape(bool left, bool right, bool down, bool up) {
  const int n = int{left} + int{right} + int{down} + int{up};
  if (n < 2) return n;
  if (n > 2) return n + 1;
  return (left && right) || (down && up) ? 3 : 2;
}

// Prints "(minx,miny)-(maxx,maxy)".
std::ostream& operator<<(std::ostream& os, const CBox2& box);
