#pragma once

#include <cstdint>

#include "geom/cbox2list.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// A region of the plane as a box list in one piece whose boxes do not
// overlap, are sliced so that touching boxes meet along whole edges, and are
// linked to their exact neighbours. The constructors establish this;
// Subdivide leaves the boxes it cuts without links, so callers read the links
// from GetBoxList afterwards. Copies re-link their own boxes.
class CLattice2 : public CBox2List {
 public:
  // The boxes with overlaps removed, sliced and linked; they must form at
  // most one piece.
  explicit CLattice2(const CBox2List& boxes);
  // The outline's box decomposition, sliced and linked; it must form at most
  // one piece without overlaps.
  explicit CLattice2(const CPolygon2& outline);
  CLattice2(const CLattice2& other);
  // Cells that already form a lattice (one piece, no overlaps, sliced),
  // kept in their order and linked; nothing is checked or cut.
  static CLattice2 FromCells(const CBox2List& cells);
  CLattice2& operator=(const CLattice2& other);

  // A copy of the boxes with their neighbour links set.
  CBox2List GetBoxList() const;
  // The sum of the boxes' areas.
  std::uint32_t GetArea() const;
  // The outline of all boxes merged one exact neighbour at a time, starting
  // from the first box's top-left corner. It keeps the vertices where boxes
  // met (clean it with RemoveSplits). Boxes that cannot be reached from the
  // first one are left out. Empty for an empty lattice.
  CPolygon2 GetAsPolygon() const;
  // [outline of the first limit boxes merged, outline of the box that would
  // be merged next]; limit 0 merges all, and the second outline is empty
  // when no box is left to merge.
  TList<CPolygon2> GetAsPolygons(unsigned limit) const;

  // Cuts boxes longer than maxSize on an axis into pieces of step units from
  // their lower end until the rest is at most maxSize long, x first; step 0
  // means maxSize. Requires 0 < step <= maxSize, otherwise nothing is cut.
  // Pieces beyond the first are appended at the end of the list.
  void Subdivide(unsigned maxSize, unsigned step);
 private:
  struct Linked {};
  CLattice2(const CBox2List& cells, Linked);
};

// The cell size of the floor designer: its regions are subdivided with
// Subdivide(kCellMaxSize, kCellStep), so no cell is longer than 7 units.
inline constexpr unsigned kCellMaxSize = 7;
inline constexpr unsigned kCellStep = 5;

// The number of boxes Subdivide(maxSize, step) cuts box into, computed
// without cutting; the same requirements on maxSize and step.
std::uint64_t CountSubdivided(const CBox2& box, unsigned maxSize, unsigned step);

// Lattices are ordered by area.
bool operator<(const CLattice2& a, const CLattice2& b);
