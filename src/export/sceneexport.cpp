#include "export/sceneexport.h"

#include <filesystem>

#include "export/assimpwriter.h"
#include "export/gltfwriter.h"

namespace quarn {

bool WriteScene(const Scene& scene, ExportFormat format, const std::string& fileName,
                std::vector<OutputFile>& files, std::string& problem) {
  const std::string stem = std::filesystem::path(fileName).stem().string();
  switch (format) {
    case ExportFormat::kGlb:
      files = {{fileName, ""}};
      if (!WriteGlb(scene, files[0].bytes, problem)) return false;
      break;
    case ExportFormat::kGltf:
      if (!WriteGltf(scene, stem, files, problem)) return false;
      break;
    case ExportFormat::kObj:
    case ExportFormat::kNavMesh:
    case ExportFormat::kFbx:
      if (!WriteWithAssimp(scene,
                           format == ExportFormat::kFbx ? AssimpFormat::kFbx : AssimpFormat::kObj,
                           stem, files, problem)) {
        return false;
      }
      break;
  }
  files[0].name = fileName;
  return true;
}

bool ExportBuildings(const TList<TList<CFloor>>& buildings,
                     const std::vector<FinishedBuilding>* finished, const SceneSettings& settings,
                     ExportFormat format, const std::string& path, std::string& problem,
                     const std::vector<std::string>& keep,
                     const std::vector<TypedBuilding>* typed,
                     const std::vector<FurnishedBuilding>* furnished) {
  const bool toStandardOutput = path == kStandardOutput;
  // Standard output takes a format of one file, whose name is then unused.
  const std::filesystem::path target(toStandardOutput ? std::string("scene") : path);
  std::vector<OutputFile> files;
  const Scene scene = format == ExportFormat::kNavMesh
                            ? BuildNavMeshScene(settings)
                            : BuildScene(buildings, settings, finished, typed, furnished);
  if (!WriteScene(scene, format, target.filename().string(), files, problem)) {
    problem = "cannot write '" + path + "': " + problem;
    return false;
  }
  if (toStandardOutput) {
    if (files.size() != 1) {
      problem = "cannot write standard output: this format writes several files";
      return false;
    }
    return WriteStandardOutput(files[0].bytes, problem);
  }
  for (const OutputFile& file : files) {
    const std::filesystem::path written = target.parent_path() / file.name;
    for (const std::string& other : keep) {
      std::error_code error;
      if (written.lexically_normal() == std::filesystem::path(other).lexically_normal() ||
          std::filesystem::equivalent(written, other, error)) {
        problem = "cannot write '" + written.string() + "': it is another file of the run";
        return false;
      }
    }
  }
  return WriteFilesAtomically(target.parent_path().string(), files, problem);
}

}  // namespace quarn
