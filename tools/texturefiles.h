#pragma once

// The ten texture files of the 3D view and their writing as 24-bit BMPs.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bmpwriter.h"
#include "pictures/texturepictures.h"

namespace quarn::tools {

using pictures::MakeBrickWall;
using pictures::MakeConcrete;
using pictures::MakeFloorTiles;
using pictures::MakeGrass;
using pictures::MakeSkyFace;
using pictures::SkyDirection;
using pictures::SkyFace;

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
