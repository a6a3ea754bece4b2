// Navigation meshes against designing: the courtyard example of three
// storeys, designed and finished, then its navigation mesh built (at most
// 100 ms), and the same with the way to every room found. Both should cost
// no more than designing the 128 x 128 square (BM_DesignThreeStoreys128 in
// finish_bench.cpp).

#include <benchmark/benchmark.h>

#include <fstream>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"
#include "geom/outlinecheck.h"
#include "nav/reachability.h"

namespace {

TList<CFloor> ThreeStoreyCourtyard() {
  std::ifstream in(QUARN_EXAMPLES_DIR "/courtyard.quarn");
  return CBuilding(CFloorSpec(quarn::ReadOutlineFile(in).loops[0], 3, 0, 45), STEP_BUDGET_UNLIMITED).floors;
}

void BM_NavMeshThreeStoreyCourtyard(benchmark::State& state) {
  const TList<CFloor> floors = ThreeStoreyCourtyard();
  const quarn::FinishedBuilding finished = quarn::FinishBuilding(floors);
  std::size_t polygons = 0;
  for (auto _ : state) {
    std::string error;
    const auto mesh = quarn::NavMesh::Build(
        quarn::GetWalkableGeometry(floors, finished, nullptr, nullptr, {}), {}, error);
    polygons = mesh ? mesh->GetPolygons().polygons.size() : 0;
    benchmark::DoNotOptimize(polygons);
  }
  state.counters["polygons"] = static_cast<double>(polygons);
}
BENCHMARK(BM_NavMeshThreeStoreyCourtyard)->Unit(benchmark::kMillisecond);

void BM_NavigateThreeStoreyCourtyard(benchmark::State& state) {
  const TList<CFloor> floors = ThreeStoreyCourtyard();
  const quarn::FinishedBuilding finished = quarn::FinishBuilding(floors);
  std::size_t unreachable = 0;
  for (auto _ : state) {
    unreachable = quarn::NavigateBuilding(floors, finished, nullptr, nullptr, {}).unreachable.size();
    benchmark::DoNotOptimize(unreachable);
  }
  state.counters["unreachable"] = static_cast<double>(unreachable);
}
BENCHMARK(BM_NavigateThreeStoreyCourtyard)->Unit(benchmark::kMillisecond);

}  // namespace
