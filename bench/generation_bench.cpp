// Generation timings: one storey with the view's settings (room size 45, no
// variance), the design trace silenced so that only generation is measured.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <fstream>
#include <ostream>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "geom/outlinecheck.h"

namespace {

CPolygon2 Square(int side) {
  CPolygon2 square;
  square.Add(CPoint2(0, side));
  square.Add(CPoint2(side, side));
  square.Add(CPoint2(side, 0));
  square.Add(CPoint2(0, 0));
  return square;
}

// The large example outline, or an empty polygon when it cannot be read.
CPolygon2 LargeExample() {
  std::ifstream in(QUARN_EXAMPLES_DIR "/large-floor.quarn");
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  return file.IsValid() ? file.loops[0] : CPolygon2();
}

// Design steps a full design of the outline takes: a finite budget is
// decreased once per step, so what is left tells what was used.
std::uint32_t StepsOfFullDesign(const CFloorSpec& spec) {
  constexpr std::uint32_t kLarge = STEP_BUDGET_UNLIMITED - 1;
  const CBuilding building(spec, kLarge);
  return kLarge - building.budget.steps;
}

void Generate(benchmark::State& state, const CPolygon2& outline, std::uint32_t budget) {
  if (outline.GetSize() == 0) {
    state.SkipWithError("outline not readable");
    return;
  }
  const CFloorSpec spec(outline, 1, 0, 45);
  int rooms = 0;
  for (auto _ : state) {
    const CBuilding building(spec, budget);
    rooms = building.floors[0].rooms.GetSize();
    benchmark::DoNotOptimize(rooms);
  }
  state.counters["rooms"] = rooms;
  // The process's peak so far: run alone (--benchmark_filter) for one size.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peakMiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_GenerateSquare(benchmark::State& state) {
  Generate(state, Square(static_cast<int>(state.range(0))), STEP_BUDGET_UNLIMITED);
}
BENCHMARK(BM_GenerateSquare)
    ->Arg(15)
    ->Arg(30)
    ->Arg(60)
    ->Arg(64)
    ->Arg(120)
    ->Arg(128)
    ->Arg(256)
    ->Arg(512)
    ->Unit(benchmark::kMillisecond);

void BM_GenerateLargeExample(benchmark::State& state) {
  Generate(state, LargeExample(), STEP_BUDGET_UNLIMITED);
}
BENCHMARK(BM_GenerateLargeExample)->Unit(benchmark::kMillisecond);

// What the view does on every step key: regenerate from scratch with a
// budget, here half of the steps the full design takes.
void BM_RegenerateMidDesign(benchmark::State& state) {
  const CPolygon2 outline = Square(static_cast<int>(state.range(0)));
  const std::uint32_t budget = StepsOfFullDesign(CFloorSpec(outline, 1, 0, 45)) / 2;
  state.counters["budget"] = budget;
  Generate(state, outline, budget);
}
BENCHMARK(BM_RegenerateMidDesign)->Arg(60)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
