// Finishing against designing: a 128 x 128 square of three storeys (room
// size 45, no variance), designed to the end, then finished (entrance,
// stairs, slab openings, circulation). Finishing should cost at most a
// tenth of the design.

#include <benchmark/benchmark.h>

#include <ostream>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"

namespace {

constexpr int kSide = 128;
constexpr std::uint32_t kStoreys = 3;

CFloorSpec SquareSpec() {
  CPolygon2 square;
  square.Add(CPoint2(0, kSide));
  square.Add(CPoint2(kSide, kSide));
  square.Add(CPoint2(kSide, 0));
  square.Add(CPoint2(0, 0));
  return CFloorSpec(square, kStoreys, 0, 45);
}

void BM_DesignThreeStoreys128(benchmark::State& state) {
  const CFloorSpec spec = SquareSpec();
  for (auto _ : state) {
    const CBuilding building(spec, STEP_BUDGET_UNLIMITED);
    benchmark::DoNotOptimize(building.floors.GetSize());
  }
}
BENCHMARK(BM_DesignThreeStoreys128)->Unit(benchmark::kMillisecond);

void BM_FinishThreeStoreys128(benchmark::State& state) {
  const CBuilding building(SquareSpec(), STEP_BUDGET_UNLIMITED);
  std::size_t stairs = 0;
  for (auto _ : state) {
    const quarn::FinishedBuilding finished = quarn::FinishBuilding(building.floors);
    stairs = finished.stairs.size();
    benchmark::DoNotOptimize(stairs);
  }
  state.counters["rooms"] = building.floors[0].rooms.GetSize();
}
BENCHMARK(BM_FinishThreeStoreys128)->Unit(benchmark::kMillisecond);

}  // namespace
