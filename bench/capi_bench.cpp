// The generation of BM_GenerateSquare through the C interface: the same
// square, the same settings (the design alone, not finished), so the two
// timings differ by what the interface costs (the outline check and the
// handle).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "quarn/quarn.h"

namespace {

void BM_GenerateSquareCApi(benchmark::State& state) {
  const auto side = static_cast<std::int32_t>(state.range(0));
  const std::vector<std::int32_t> square = {0, 0, 0, side, side, side, side, 0};
  const std::size_t sizes[] = {4};
  quarn_settings settings = quarn_default_settings();
  settings.finished = 0;
  quarn_design* design = nullptr;
  if (quarn_create(&design) != QUARN_OK) {
    state.SkipWithError("no handle");
    return;
  }
  for (auto _ : state) {
    if (quarn_generate_points(design, square.data(), sizes, 1, &settings) != QUARN_OK) {
      state.SkipWithError(quarn_last_error(design));
      break;
    }
  }
  std::size_t rooms = 0;
  quarn_room_count(design, 0, 0, &rooms);
  state.counters["rooms"] = static_cast<double>(rooms);
  quarn_destroy(design);
}
BENCHMARK(BM_GenerateSquareCApi)->Arg(60)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace
