// The whole export path on arbitrary bytes: the first byte chooses the
// settings, the rest is an outline file; the buildings of every outline it
// accepts go through every writer into memory (glb, gltf, obj, fbx, svg,
// pdf, png and the plan dump). Each writer either succeeds with a file of
// its format or reports why; none may throw, assert or read out of bounds.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "building/designbudget.h"
#include "building/designobserver.h"
#include "export/gltfwriter.h"
#include "export/plandrawing.h"
#include "export/sceneexport.h"
#include "fuzz/fuzz_support.h"
#include "generate.h"
#include "geom/outlinecheck.h"

namespace {

using quarn::fuzz::Expect;

// Outlines larger than this (extent area in cells), or more of them, are
// not generated, so each input stays within milliseconds.
constexpr int kMaxExtentArea = 256;
constexpr int kMaxLoops = 3;

// Byte 0: bits 0-5 the step budget in threes (63: unlimited), bit 6
// textured materials, bit 7 two storeys.
quarn::GenerationSettings SettingsOf(std::uint8_t choice) {
  quarn::GenerationSettings settings;
  const std::uint32_t steps = choice & 63u;
  settings.steps = steps == 63 ? STEP_BUDGET_UNLIMITED : steps * 3;
  settings.storeys = (choice & 128u) != 0 ? 2 : 1;
  return settings;
}

void ExpectWritten(bool written, const std::string& problem, bool hasBytes, const char* what) {
  Expect(written ? hasBytes : !problem.empty(), what);
}

void ExportScene(const quarn::Scene& scene) {
  const struct {
    quarn::ExportFormat format;
    const char* fileName;
  } formats[] = {{quarn::ExportFormat::kGlb, "out.glb"},
                 {quarn::ExportFormat::kGltf, "out.gltf"},
                 {quarn::ExportFormat::kObj, "out.obj"},
                 {quarn::ExportFormat::kFbx, "out.fbx"}};
  for (const auto& f : formats) {
    std::vector<quarn::OutputFile> files;
    std::string problem;
    const bool written = quarn::WriteScene(scene, f.format, f.fileName, files, problem);
    ExpectWritten(written, problem, !files.empty() && !files[0].bytes.empty(),
                  "a 3D writer gives its main file or says why");
    if (!written) continue;
    Expect(files[0].name == f.fileName, "the main file comes first");
    if (f.format == quarn::ExportFormat::kGlb) {
      const auto chunk = quarn::GlbJsonChunk(files[0].bytes);
      Expect(chunk && nlohmann::json::accept(*chunk), "a glb holds its JSON");
    } else if (f.format == quarn::ExportFormat::kGltf) {
      Expect(nlohmann::json::accept(files[0].bytes), "a gltf file is JSON");
    }
  }
}

void DrawPlans(const TList<TList<CFloor>>& buildings,
               const std::vector<quarn::FinishedBuilding>* finished) {
  const quarn::PlanTitle title{"fuzz.quarn", "all"};
  for (const quarn::PlanFormat format :
       {quarn::PlanFormat::kSvg, quarn::PlanFormat::kPdf, quarn::PlanFormat::kPng}) {
    std::ostringstream out;
    std::string problem;
    const bool written = quarn::WritePlan(buildings, finished, title, format, 2, out, problem);
    ExpectWritten(written, problem, !out.str().empty(), "a plan writer gives bytes or says why");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quarn::fuzz::AbortOnAssertions();
  if (size == 0) return 0;
  quarn::DesignObserver silentTrace;
  const quarn::GenerationSettings settings = SettingsOf(data[0]);

  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  if (!file.IsValid() || file.loops.GetSize() > kMaxLoops) return 0;
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    if (file.loops[i].GetExtents().GetArea() > kMaxExtentArea) return 0;
  }

  std::ostringstream dump;
  quarn::GeneratePlans(file.loops, settings, dump, silentTrace);
  Expect(nlohmann::json::accept(dump.str()), "the plan dump is JSON");
  const TList<TList<CFloor>> buildings = quarn::GenerateFloors(file.loops, settings, silentTrace);
  // The design alone, then the finished buildings at real-world heights.
  const bool textured = (data[0] & 64u) != 0;
  ExportScene(quarn::BuildScene(buildings, {1.0f, textured, std::nullopt}));
  DrawPlans(buildings, nullptr);
  const std::vector<quarn::FinishedBuilding> finished = quarn::FinishBuildings(buildings);
  ExportScene(quarn::BuildScene(buildings, {1.0f, textured, 3.0f}, &finished));
  DrawPlans(buildings, &finished);
  return 0;
}
