// Typing against designing: the 128 x 128 square of three storeys of
// finish_bench (room size 45, no variance), designed and finished once,
// then typed by each built-in programme. Typing should cost at most a tenth
// of the design (BM_DesignThreeStoreys128).

#include <benchmark/benchmark.h>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"
#include "programme/programme.h"

namespace {

constexpr int kSide = 128;
constexpr std::uint32_t kStoreys = 3;

void BM_TypeThreeStoreys128(benchmark::State& state, const char* name) {
  CPolygon2 square;
  square.Add(CPoint2(0, kSide));
  square.Add(CPoint2(kSide, kSide));
  square.Add(CPoint2(kSide, 0));
  square.Add(CPoint2(0, 0));
  const CBuilding building(CFloorSpec(square, kStoreys, 0, 45), STEP_BUDGET_UNLIMITED);
  const quarn::FinishedBuilding finished = quarn::FinishBuilding(building.floors);
  const quarn::Programme programme = *quarn::GetBuiltinProgramme(name);
  std::size_t unmet = 0;
  for (auto _ : state) {
    const quarn::TypedBuilding typed = quarn::ApplyProgramme(building.floors, finished, programme, 1.0f);
    unmet = typed.unmet.size();
    benchmark::DoNotOptimize(unmet);
  }
  int rooms = 0;
  for (int k = 0; k < building.floors.GetSize(); ++k) rooms += building.floors[k].rooms.GetSize();
  state.counters["rooms"] = rooms;
  state.counters["unmet"] = static_cast<double>(unmet);
}
BENCHMARK_CAPTURE(BM_TypeThreeStoreys128, house, "house")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypeThreeStoreys128, office, "office")->Unit(benchmark::kMillisecond);

}  // namespace
