#pragma once

// OBJ and FBX writing of a scene through assimp's exporter, from one assimp
// scene built from the same meshes the glTF writer gets.

#include <string>
#include <vector>

#include "export/scene.h"
#include "io/atomicfile.h"

namespace quarn {

// kFbx is assimp's ASCII FBX: its binary FBX cannot be read back.
enum class AssimpFormat { kObj, kFbx };

// The files of scene in format: first stem + ".obj" (with stem + ".mtl")
// or stem + ".fbx", then, when textured, the PNG files stem + "-brick.png"
// and stem + "-floor.png" the materials refer to. Returns false and says
// why when assimp fails.
bool WriteWithAssimp(const Scene& scene, AssimpFormat format, const std::string& stem,
                     std::vector<OutputFile>& files, std::string& problem);

}  // namespace quarn
