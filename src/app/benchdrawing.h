#pragma once

#include <optional>

#include "building/ccolour.h"
#include "geom/cpoint2.h"

class CMode;

// The GL frame shared by the developer benches. Needs a current context.

namespace quarn {

// Pixels per grid unit in a bench's view.
constexpr int kBenchPixelsPerUnit = 16;

// Starts a bench frame: the mode's Resize with its GetWindowSize, no depth
// test or lighting, the grey pixel grid, then a pushed model-view matrix in
// which one grid unit is 16 pixels and the cursor's grid point is the centre.
void BeginBenchDraw(CMode& mode, const CPoint2& cursor);

// Ends it: pops the matrix and draws the cursor in white at the centre.
void EndBenchDraw();

void SetColour(const CColour& colour);

// The box being placed, dashed, when a corner is pending and the cursor
// spans a box with it.
void DrawPendingBox(const std::optional<CPoint2>& pendingCorner, const CPoint2& cursor,
                    const CColour& colour);

}  // namespace quarn
