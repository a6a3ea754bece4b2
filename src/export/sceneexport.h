#pragma once

// The one entry to the 3D exports: formats by name, the files of a scene in
// each, and landing them whole.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/scene.h"
#include "io/atomicfile.h"

namespace quarn {

// kNavMesh is OBJ holding only the settings' navigation meshes.
enum class ExportFormat { kGlb, kGltf, kObj, kFbx, kNavMesh };

// The format of a name ("glb", "gltf", "obj", "fbx", "navmesh"), or none.
inline std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
  if (name == "glb") return ExportFormat::kGlb;
  if (name == "gltf") return ExportFormat::kGltf;
  if (name == "obj") return ExportFormat::kObj;
  if (name == "fbx") return ExportFormat::kFbx;
  if (name == "navmesh") return ExportFormat::kNavMesh;
  return std::nullopt;
}

// The files of scene in format: first the main file, named fileName; the
// files beside it take fileName without its extension as their stem.
// Returns false and says why when the format's writer fails.
bool WriteScene(const Scene& scene, ExportFormat format, const std::string& fileName,
                std::vector<OutputFile>& files, std::string& problem);

// Builds the scene of buildings and lands its files at path whole or not at
// all; on failure returns false with one phrase naming the file and why.
// Nothing is written when a file of the export would replace one of keep
// (the run's other files: its input, its trace). finished, typed and furnished as for
// BuildScene. A path of kStandardOutput
// writes a format of one file (glb) to standard output.
bool ExportBuildings(const TList<TList<CFloor>>& buildings,
                     const std::vector<FinishedBuilding>* finished, const SceneSettings& settings,
                     ExportFormat format, const std::string& path, std::string& problem,
                     const std::vector<std::string>& keep = {},
                     const std::vector<TypedBuilding>* typed = nullptr,
                     const std::vector<FurnishedBuilding>* furnished = nullptr);

}  // namespace quarn
