// Furnishing against designing: the 128 x 128 square of three storeys
// (room size 45, no variance), designed and finished, typed by the house
// programme, then furnished. Furnishing should cost at most a tenth of the
// design (BM_DesignThreeStoreys128 in finish_bench.cpp).

#include <benchmark/benchmark.h>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"
#include "furnish/furnish.h"
#include "programme/programme.h"

namespace {

CFloorSpec SquareOf128() {
  CPolygon2 square;
  square.Add(CPoint2(0, 128));
  square.Add(CPoint2(128, 128));
  square.Add(CPoint2(128, 0));
  square.Add(CPoint2(0, 0));
  return CFloorSpec(square, 3, 0, 45);
}

void BM_FurnishThreeStoreys128(benchmark::State& state) {
  const CBuilding building(SquareOf128(), STEP_BUDGET_UNLIMITED);
  const quarn::FinishedBuilding finished = quarn::FinishBuilding(building.floors);
  const quarn::TypedBuilding typed =
      quarn::ApplyProgramme(building.floors, finished, *quarn::GetBuiltinProgramme("house"), 1.0f);
  std::size_t pieces = 0;
  for (auto _ : state) {
    pieces = quarn::FurnishBuilding(building.floors, finished, typed, 1.0f).pieces.size();
    benchmark::DoNotOptimize(pieces);
  }
  state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_FurnishThreeStoreys128)->Unit(benchmark::kMillisecond);

}  // namespace
