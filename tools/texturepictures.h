#pragma once

// The pictures of the ten texture files, all made procedurally. Ground and
// wall pictures tile seamlessly; the six night-sky faces are drawn from the
// 3D direction each texel looks in, so neighbouring faces agree where they
// meet on the sky box.

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bmpwriter.h"

namespace quarn::tools {

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

// One texture file: its name, its side in pixels and how to make it.
struct TextureFile {
  std::string name;
  int side;
  std::function<Picture()> make;
};

// The ten texture files, in the order the 3D view loads them; ground and
// wall pictures groundSide pixels square, sky faces skySide.
std::vector<TextureFile> TextureFiles(int groundSide = 256, int skySide = 512);

// Writes every file into dir (which must exist) as a 24-bit BMP. Stops at
// the first file that cannot be written and returns its path; returns an
// empty path when all were written.
std::filesystem::path WriteTextureFiles(const std::filesystem::path& dir,
                                        const std::vector<TextureFile>& files);

}  // namespace quarn::tools
