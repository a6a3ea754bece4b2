#pragma once

#include <iostream>
#include <optional>
#include <ostream>
#include <string>

#include "app/cbenchmode.h"
#include "geom/cbox2.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// Developer bench for rectilinear outlines: points are added at a cursor
// dragged over the grid (each new edge axis-parallel and not crossing the
// outline), the loop closes clockwise on its first point, and keys split,
// clean, decompose, bound, save and load polygon 0. The main window owns it
// but never makes it current.
//
// polygons is never empty: its last entry is the polygon being drawn. The
// polygon file holds polygon 0 in the polygon text form, one line; it is
// "poly.txt" in the working directory unless set otherwise. Results go to the
// stream given at construction.
class CTestPolygon2 : public CBenchMode {
 public:
  explicit CTestPolygon2(std::ostream& out = std::cout);

  // Resets the bench, then prints the help text.
  void Enter() override;
  // Resets the bench.
  void Init() override;
  // Keys, in this order: SPACE add a point or close the polygon, M delete
  // the last point, J/K insert/remove splits, B polygon 0 to boxes, E toggle
  // extents, R reset, O print, S save, L load.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;

  void SetPolygonFile(std::string path) { polygonFile = std::move(path); }
  // Resets the bench and reads polygon 0 from in, in the polygon file's form
  // (L does this with the polygon file): a malformed polygon keeps the points
  // read before the fault, an empty or unreadable input leaves it empty.
  void LoadPolygon(std::istream& in);

  void DrawFrame() override;

  const TList<CPolygon2>& GetPolygons() const { return polygons; }
  const CBox2List& GetBoxes() const { return boxes; }
  const std::optional<CBox2>& GetExtents() const { return extents; }

 private:
  void Reset();
  CPolygon2& GetCurrentPolygon();
  void AddPointOrClose();
  // True when the edge from the current polygon's last point to the cursor
  // touches one of its edges other than the last one.
  bool NewEdgeCrosses(const CPolygon2& polygon) const;
  void RemoveLastPoint();
  void ToggleExtents();
  void PrintOutput() const;
  void Save() const;
  void Load();

  std::string polygonFile = "poly.txt";
  TList<CPolygon2> polygons;
  CBox2List boxes;
  std::optional<CBox2> extents;
};
