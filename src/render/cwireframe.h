#pragma once

#include <cstddef>
#include <vector>

#include "building/cfloor.h"
#include "geom/cbox3.h"

// The outlines of a floor's wall pieces as one list of lines, made once and
// drawn every frame: each face outline of each piece in the order
// DrawWireframe draws them, less every line that runs from the same start
// to the same end as an earlier one. Such a repeat is rasterised exactly
// like its first drawing, at the same depths, so it fails the depth test
// everywhere and leaves no pixel; without it the picture is the same with
// about a third fewer lines (the edges two faces of a box walk the same
// way, and edges shared by touching pieces).
class CWireframe {
 public:
  explicit CWireframe(const CFloor& floor);

  // The lines with their faces' normals and texture coordinates, as GL
  // lines from vertex arrays; colour, lighting and camera are the caller's.
  void Draw() const;
  std::size_t GetLineCount() const { return vertices_.size() / 2; }

 private:
  // Two per line, start then end.
  std::vector<CFaceVertex3> vertices_;
};
