#pragma once

#include <vector>

#include "geom/cvector3.h"

namespace quarn {

// The polygons a walker's centre may stand on, as plain data: vertices in
// metres in the world's frame (z up), each polygon a list of vertex indices
// counter-clockwise seen from above.
struct NavPolygons {
  std::vector<CVector3> vertices;
  std::vector<std::vector<int>> polygons;
};

}  // namespace quarn
