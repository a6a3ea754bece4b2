#pragma once

// The pictures the textured view puts on walls and floors, as PNG files in
// memory (made from the same procedural pictures as the view's texture
// files, never read from disk).

#include <string>

#include "export/scene.h"

namespace quarn {

// The PNG bytes of texture (not kNone), rows top first; made once per
// process.
const std::string& TexturePng(SceneTexture texture);

// A short name for the texture, "brick" or "floor".
const char* TextureName(SceneTexture texture);

// The name of the texture's PNG file beside an export of the given stem:
// stem + "-brick.png" or stem + "-floor.png".
std::string TextureFileName(const std::string& stem, SceneTexture texture);

}  // namespace quarn
