#pragma once

// glTF 2.0 writing of a scene. Materials are metallic 0, roughness 1; the
// textures repeat and are flipped to glTF's top-left image origin.

#include <string>
#include <vector>

#include "export/scene.h"
#include "io/atomicfile.h"

namespace quarn {

// The scene as one binary glTF file (.glb), textures inside.
std::string WriteGlb(const Scene& scene);

// The scene as glTF JSON named baseName + ".gltf" (the first file), its
// buffer baseName + ".bin" and, when textured, the PNG files
// baseName + "-brick.png" and baseName + "-floor.png" it refers to.
std::vector<OutputFile> WriteGltf(const Scene& scene, const std::string& baseName);

}  // namespace quarn
