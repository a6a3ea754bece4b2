#pragma once

// The texture pictures, all made procedurally. Ground and
// wall pictures tile seamlessly; the six night-sky faces are drawn from the
// 3D direction each texel looks in, so neighbouring faces agree where they
// meet on the sky box.

#include <array>

#include "pictures/picture.h"

namespace quarn::pictures {

Picture MakeBrickWall(int side);
Picture MakeFloorTiles(int side);
Picture MakeGrass(int side);
Picture MakeConcrete(int side);

// Sky box faces by the file suffix they are written to.
enum class SkyFace { kUp, kDown, kLeft, kRight, kFront, kBack };
Picture MakeSkyFace(SkyFace face, int side);

// The direction (not normalised) in sky box coordinates that texture
// coordinate (s, t) of face shows; the sky box draws face corners at
// (+-500, +-500, +-500).
std::array<double, 3> SkyDirection(SkyFace face, double s, double t);

}  // namespace quarn::pictures
