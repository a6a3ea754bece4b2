#pragma once

// Batches of quarn-gen: many outline files, one output each, designed on
// several threads at once. Every output is the same bytes the single-file
// run of its input writes, and lands whole or not at all.

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "export/plandrawing.h"
#include "export/scene.h"
#include "export/sceneexport.h"
#include "generate.h"

namespace quarn {

struct OutputWriters;

// What one run writes: the plan dump (neither format set), a drawn floor
// plan, or a 3D export with its scene settings.
struct OutputSettings {
  std::optional<PlanFormat> planFormat;
  std::optional<ExportFormat> exportFormat;
  SceneSettings scene;
  // The walker the navigation meshes of glb, gltf and navmesh are built for.
  NavAgent agent = {};
  int pxPerUnit = 16;
  // The --steps text, which the drawn plans show in their title.
  std::string stepsText = "all";
};

// Fills output.scene's navigation meshes when its format carries them
// (glb, gltf, navmesh) and the buildings are finished, with the furniture
// as obstacles when given; returns one note a
// room that cannot be reached.
std::vector<std::string> AddNavMeshes(const TList<TList<CFloor>>& buildings,
                                      const std::vector<FinishedBuilding>* finished,
                                      const std::vector<TypedBuilding>* typed,
                                      const std::vector<FurnishedBuilding>* furnished, OutputSettings& output);

// The I-th of N deterministic slices of a batch's inputs (index from 1).
struct Shard {
  std::uint32_t index = 1;
  std::uint32_t count = 1;
};
// "I/N" with 1 <= I <= N; nullopt for anything else.
std::optional<Shard> ParseShard(const std::string& text);

// One input of a batch and the file its output lands in.
struct BatchItem {
  std::string input;
  std::string output;
};

// The items of a batch: every file named, and every "*.quarn" file of every
// folder named (in name order), in that order; then the shard's slice of
// them (item k when k mod N is I - 1); each output in folder, named after
// its input with extension (no dot). Two inputs with the same output name
// are a usage error, returned as the message.
std::optional<std::string> PlanBatch(const std::vector<std::string>& inputs,
                                     const std::string& folder, const std::string& extension,
                                     Shard shard, std::vector<BatchItem>& items);

// Generates the buildings of item's input and lands its output, as the
// single-file run does; returns the one-line problem on failure. writers
// must be loaded for drawn plans and 3D exports.
std::optional<std::string> RunBatchItem(const BatchItem& item, const GenerationSettings& settings,
                                        const OutputSettings& output,
                                        const OutputWriters* writers);

// Runs run on every item with up to threads workers. Each failure is one
// line on err as it happens; a progress bar (count, rate, time left) is
// redrawn on err when progress is set; a summary line ends the run.
// Returns the number of failed items.
int RunBatch(const std::vector<BatchItem>& items, int threads, bool progress, std::ostream& err,
             const std::function<std::optional<std::string>(const BatchItem&)>& run);

}  // namespace quarn
