#pragma once

#include <cstdint>
#include <vector>

#include "app/ccamera.h"
#include "app/cmodeview.h"
#include "geom/cbox2.h"

namespace quarn {

// An RGB picture, 3 bytes a pixel red first, the top row first.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// The camera that looks at area (grid units, from the ground up to height,
// by default one storey's walls) from the south-west and above, at the
// view's field of view, so that it fills most of a frame of the given aspect
// (width / height).
CCamera FitCamera(const CBox2& area, double aspect, float height = quarn::kStoreyRise);

// The extents of every building outline of the view; a unit box at the
// origin when there is none.
CBox2 BuildingsArea(const CModeView& view);

// Draws one frame of the view's scene (no help text) into the current GL
// context, whose viewport the view has set to width x height, and reads it
// back before any swap.
RgbPicture DrawViewPicture(CModeView& view, int width, int height);

// The picture as PNG file bytes; empty when it could not be encoded.
std::vector<std::uint8_t> EncodePng(const RgbPicture& picture);

}  // namespace quarn
