#pragma once

#include <iostream>
#include <ostream>

#include "geom/cbox2.h"
#include "tlist.h"

// A region of the plan as a list of boxes, which may overlap; boxes that only
// touch never count as overlapping. The boxes live in the list's nodes, so
// links made by SetNeighbours point into the list and stay valid until those
// boxes are removed or reshaped. Copies of the list (and every list an
// operation builds) hold boxes without links.
//
// Loops over the list re-read its size on every step, so boxes appended
// during an operation are visited by that operation too.
class CBox2List : public TList<CBox2> {
 public:
  CBox2List() = default;
  // A list holding a copy of box.
  explicit CBox2List(const CBox2& box) : TList<CBox2>(box) {}

  // True when some box of the list overlaps box.
  bool Overlaps(const CBox2& box) const;
  // True when two boxes of the list overlap.
  bool OverlapsSelf() const;
  // True when box overlaps or touches (over a positive length) some box.
  bool IsPartialNeighbourOf(const CBox2& box) const;
  // True when a line through one of box's edges passes strictly through some
  // box of the list (only the coordinates are compared).
  bool IsSlicedBy(const CBox2& box) const;
  // True when, for some pair i < j, a coordinate of box j lies strictly
  // inside box i's range on the same axis (the later box cuts the earlier).
  bool SlicesSelf() const;
  // The number of connected pieces: boxes connect when they overlap or share
  // a stretch of edge; corner contact does not connect.
  int CountPieces() const;
  // One list per connected piece, pieces in the order of their first boxes.
  TList<CBox2List> GetSeperatePieces() const;

  // The area of this list that no box of other covers.
  CBox2List Difference(const CBox2List& other) const;
  // Difference(other) followed by copies of other's boxes.
  CBox2List Union(const CBox2List& other) const;
  // The overlap of every box of this list with every box of other, in that
  // loop order.
  CBox2List Intersection(const CBox2List& other) const;

  // Rearranges the boxes so that none overlap; the covered area stays.
  void FixAllOverlaps();
  // Cuts the boxes along the lines through box's edges: the low part of a
  // cut box stays in place, the high part is appended.
  void SliceBy(const CBox2& box);
  // Cuts every box along every box's x-coordinates, then y-coordinates, so
  // that touching boxes meet edge to edge.
  void Slice();
  // One pass of Slice along axis 0 or 1; another axis is reported and
  // leaves the list unchanged.
  void SliceAxis(int axis);
  // Links every box to its exact neighbours in the list (one-way per call;
  // every ordered pair is tried). Existing links are kept.
  void SetNeighbours();

  // Writes the number of boxes, then for sides L, R, D, U the number of boxes
  // linked on that side.
  void Print(std::ostream& os = std::cout) const;
};

// Prints the boxes as "[(x,y)-(x,y), ...]".
std::ostream& operator<<(std::ostream& os, const CBox2List& list);
