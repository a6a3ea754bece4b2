#pragma once

// glTF 2.0 writing of a scene. Materials are metallic 0, roughness 1; the
// textures repeat and are flipped to glTF's top-left image origin.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/scene.h"
#include "io/atomicfile.h"

namespace quarn {

// The scene as one binary glTF file (.glb), textures inside, into bytes.
// Returns false and says why when the writer fails or gives a file that is
// not a well-formed glb.
bool WriteGlb(const Scene& scene, std::string& bytes, std::string& problem);

// The scene as glTF JSON named baseName + ".gltf" (the first file), its
// buffer baseName + ".bin" and, when textured, the PNG files
// baseName + "-brick.png" and baseName + "-floor.png" it refers to. Returns
// false and says why when the writer fails.
bool WriteGltf(const Scene& scene, const std::string& baseName, std::vector<OutputFile>& files,
               std::string& problem);

// The text of the JSON chunk of a binary glTF file, padding included, or
// nothing when glb is not a whole glb file of version 2 whose first chunk is
// JSON: its header and chunk lengths are checked against its size.
std::optional<std::string_view> GlbJsonChunk(std::string_view glb);

}  // namespace quarn
