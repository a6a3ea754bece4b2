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

// A short name for the texture's file, "brick" or "floor".
const char* TextureName(SceneTexture texture);

}  // namespace quarn
