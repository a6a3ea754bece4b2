// Furnishing against designing: the 128 x 128 square of three storeys
// (room size 45, no variance), designed and finished, its rooms typed in
// turn, then furnished. Furnishing should cost at most a tenth of the
// design (BM_DesignThreeStoreys128 in finish_bench.cpp).

#include <benchmark/benchmark.h>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"
#include "furnish/furnish.h"

namespace {

CFloorSpec SquareOf128() {
  CPolygon2 square;
  square.Add(CPoint2(0, 128));
  square.Add(CPoint2(128, 128));
  square.Add(CPoint2(128, 0));
  square.Add(CPoint2(0, 0));
  return CFloorSpec(square, 3, 0, 45);
}

// Every room of a complete storey gets the next type of a house in turn.
quarn::TypedBuilding TypeInTurn(const TList<CFloor>& floors, const quarn::FinishedBuilding& finished) {
  using quarn::RoomType;
  const RoomType kinds[] = {RoomType::Bedroom, RoomType::Kitchen, RoomType::Bathroom, RoomType::Living,
                            RoomType::Dining,  RoomType::Wc,      RoomType::Study,    RoomType::Hall};
  quarn::TypedBuilding typed;
  std::size_t next = 0;
  for (int k = 0; k < floors.GetSize(); ++k) {
    typed.types.emplace_back(static_cast<std::size_t>(floors[k].rooms.GetSize()));
    typed.names.emplace_back(static_cast<std::size_t>(floors[k].rooms.GetSize()));
    typed.doorKept.emplace_back(static_cast<std::size_t>(floors[k].walls.GetSize()), true);
    if (!finished.complete[static_cast<std::size_t>(k)]) continue;
    for (auto& type : typed.types.back()) type = kinds[next++ % std::size(kinds)];
  }
  return typed;
}

void BM_FurnishThreeStoreys128(benchmark::State& state) {
  const CBuilding building(SquareOf128(), STEP_BUDGET_UNLIMITED);
  const quarn::FinishedBuilding finished = quarn::FinishBuilding(building.floors);
  const quarn::TypedBuilding typed = TypeInTurn(building.floors, finished);
  std::size_t pieces = 0;
  for (auto _ : state) {
    pieces = quarn::FurnishBuilding(building.floors, finished, typed, 1.0f).pieces.size();
    benchmark::DoNotOptimize(pieces);
  }
  state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_FurnishThreeStoreys128)->Unit(benchmark::kMillisecond);

}  // namespace
