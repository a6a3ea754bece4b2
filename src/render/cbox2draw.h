#pragma once

// Drawing of 2D boxes and box lists in the plane z = 0 (immediate mode,
// integer vertices). The caller sets colour and projection.

#include "geom/cbox2.h"
#include "geom/cbox2list.h"

// The outline: one line loop through (max.x, max.y), (min.x, max.y),
// (min.x, min.y), (max.x, min.y), normal (0, 0, 1).
void Draw(const CBox2& box);

// One quad through the same corners, normal (0, 0, 1), texture coordinates
// 0.3 times the vertex coordinates (a texture repeats every 3 1/3 units).
void DrawFilled(const CBox2& box);

// The neighbour links: from the centre to the shared edge on every linked
// side, 2 pixels wide; left and down dashed, x sides reddish, y sides
// greenish; then the centre as a grey 6-pixel point. Asks that every link
// is still an exact neighbour (asserted). Line and point settings are
// restored; the colour is left grey.
void DrawNeighbours(const CBox2& box);

// Every box's outline at the given line width; the width is reset to 1.
void Draw(const CBox2List& boxes, unsigned width);
// Every box filled.
void DrawFilled(const CBox2List& boxes);
// Every box's neighbour links.
void DrawNeighbours(const CBox2List& boxes);
