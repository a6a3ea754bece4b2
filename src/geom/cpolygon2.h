#pragma once

#include <initializer_list>
#include <istream>
#include <optional>
#include <ostream>

#include "geom/cbox2.h"
#include "geom/cbox2list.h"
#include "geom/cedge2.h"
#include "geom/cpoint2.h"
#include "tlist.h"

// A closed rectilinear outline of grid points: vertex i is joined to vertex
// GetNext(i) and the last vertex to vertex 0 (the first vertex is not
// repeated). Every edge is expected to be horizontal or vertical; extra
// vertices inside a straight run ("splits") do not change the shape. Normal
// orientation is clockwise with y up: along the topmost horizontal edge the
// vertices run towards increasing x (see IsClockwise). Copies copy the
// vertices.
//
// Text form: each vertex as (x,y), the loop ended by '*', no blanks.
class CPolygon2 : public TList<CPoint2> {
 public:
  CPolygon2() = default;
  CPolygon2(std::initializer_list<CPoint2> vertices);
  explicit CPolygon2(const TList<CPoint2>& vertices);

  int GetNext(int i) const;
  int GetPrev(int i) const;
  // The edge from vertex i to the next one; requires i < GetSize() and the
  // two vertices to differ.
  CEdge2 GetEdge(int i) const;

  // The bounding box of the vertices; requires at least one vertex and a
  // polygon that spans both axes.
  CBox2 GetExtents() const;
  // True when the first horizontal edge on the topmost y runs towards
  // increasing x. Without such an edge an assertion fails and the answer is
  // false.
  bool IsClockwise() const;
  bool Contains(const CPoint2& point) const;

  // Inserts point after vertex i (appends when i is the last vertex).
  void InsertAfter(int i, const CPoint2& point);
  // Cuts every edge at every vertex coordinate on axis (0 x, 1 y) that lies
  // strictly inside the edge's range on that axis.
  void InsertSplits(int axis);
  // Removes vertices whose two neighbours share their coordinate on axis,
  // never leaving fewer than 3 vertices. Axis 0 cleans vertical runs, 1
  // horizontal runs.
  void RemoveSplits(int axis);
  // Inserts every vertex of other that lies strictly inside one of this
  // outline's edges. other must not be this polygon.
  void InsertSplitsFrom(const CPolygon2& other);

  // Where the outline runs back along itself on a horizontal line (a seam),
  // the outlines on either side of it, each split again at its own seams;
  // nothing when there is no seam.
  std::optional<TList<CPolygon2>> SplitAtSeam() const;
  // Cuts the strip under the topmost edge, down to the next y level, off the
  // outline and returns it. Requires more than 3 vertices and a horizontal
  // top edge; otherwise an assertion fails and the result is the huge box
  // (-37707,-37707)-(37707,37707).
  CBox2 RemoveTopBox();
  // Disjoint boxes covering the area enclosed by a clockwise outline, top
  // strip first; empty for fewer than 4 vertices. Stops with the boxes found
  // so far when no top edge is left to cut.
  CBox2List GetAsBoxList() const;

 private:
  std::optional<CBox2> CutTopBox();
};

bool operator==(const CPolygon2& a, const CPolygon2& b);
bool operator!=(const CPolygon2& a, const CPolygon2& b);

// Writes the text form without a line end: (x,y)(x,y)...*
std::ostream& operator<<(std::ostream& os, const CPolygon2& polygon);

// Limits of the text reader: larger coordinates or more vertices are
// malformed input. The coordinate limit is the one outlines from outside are
// checked against: any box inside such an outline (at most 40000 x 40000)
// has an area that fits signed 32-bit arithmetic.
constexpr int kPolygonTextMaxCoordinate = 20000;
constexpr int kPolygonTextMaxVertices = 65536;

// Clears polygon, then reads vertices as character, x, character, y,
// character (separators are not examined) until an extraction fails, which
// leaves the stream failed; the '*' that ends a written polygon is consumed
// by that last attempt. A coordinate beyond kPolygonTextMaxCoordinate in
// magnitude or a vertex beyond kPolygonTextMaxVertices also fails the stream
// and ends the polygon without that vertex.
std::istream& operator>>(std::istream& is, CPolygon2& polygon);
