#pragma once

#include <iostream>
#include <ostream>

#include "geom/cbox2.h"
#include "tlist.h"

// A region of the plan as a list of boxes, which may overlap. The boxes live
// in the list's nodes, so links made by SetNeighbours point into the list and
// stay valid until those boxes are removed or reshaped. Copies of the list
// (and every list an operation builds) hold boxes without links.
class CBox2List : public TList<CBox2> {
 public:
  CBox2List() = default;
  // A list holding a copy of box.
  explicit CBox2List(const CBox2& box) : TList<CBox2>(box) {}

  // Writes the number of boxes, then for sides L, R, D, U the number of boxes
  // linked on that side.
  void Print(std::ostream& os = std::cout) const;
};

// Prints the boxes as "[(x,y)-(x,y), ...]".
std::ostream& operator<<(std::ostream& os, const CBox2List& list);
