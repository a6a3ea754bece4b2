#pragma once

// Drawing of a polygon outline and its vertices (immediate mode, integer
// vertices, the caller's colour).

#include "geom/cpolygon2.h"

// A line loop (closed) or strip (open) through the vertices at lineWidth,
// then vertex 0 as a point of firstPointSize, then every vertex as a point of
// pointSize; line width and point size are 1 afterwards. Vertex 0 thus
// stands out only when firstPointSize is the larger.
void Draw(const CPolygon2& polygon, unsigned lineWidth, unsigned pointSize,
          unsigned firstPointSize, bool closed);
