// Export timings: the 128 x 128 square (about 290 rooms) as textured glb,
// the scene and file made from floors generated once, and the whole run of
// generation and export as quarn-gen does it.

#include <benchmark/benchmark.h>

#include <ostream>
#include <string>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "export/gltfwriter.h"
#include "export/textures.h"

namespace {

TList<TList<CFloor>> GenerateSquare(int side) {
  TList<TList<CFloor>> buildings;
  const CPolygon2 square({{0, 0}, {0, side}, {side, side}, {side, 0}});
  buildings.Add(CBuilding(CFloorSpec(square, 1, 0, 45), STEP_BUDGET_UNLIMITED).floors);
  return buildings;
}

std::size_t ExportGlb(const TList<TList<CFloor>>& buildings) {
  std::string glb, problem;
  if (!quarn::WriteGlb(quarn::BuildScene(buildings, {}), glb, problem)) return 0;
  benchmark::DoNotOptimize(glb.data());
  return glb.size();
}

// The export alone; the texture pictures are made once per process before.
void BM_ExportSquareGlb(benchmark::State& state) {
  const TList<TList<CFloor>> buildings = GenerateSquare(static_cast<int>(state.range(0)));
  quarn::TexturePng(quarn::SceneTexture::kBrick);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = ExportGlb(buildings);
  state.counters["rooms"] = buildings[0][0].rooms.GetSize();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportSquareGlb)->Arg(128)->Unit(benchmark::kMillisecond);

void BM_GenerateAndExportSquareGlb(benchmark::State& state) {
  for (auto _ : state) ExportGlb(GenerateSquare(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_GenerateAndExportSquareGlb)->Arg(128)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
