// Designs share nothing: buildings designed on several threads at once come
// out, dump and trace, exactly as each designed alone.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "building/designobserver.h"
#include "generate.h"
#include "random_skyline.h"

namespace quarn {
namespace {

struct Design {
  CPolygon2 outline;
  GenerationSettings settings;
};

struct Result {
  std::string dump;
  std::string trace;
  bool operator==(const Result&) const = default;
};

Result DumpAndTrace(const Design& design) {
  std::ostringstream dump;
  std::ostringstream trace;
  TextTraceObserver observer(trace);
  GeneratePlans(TList<CPolygon2>(design.outline), design.settings, dump, observer);
  return {dump.str(), trace.str()};
}

// Skylines stretched up to 3 times, random room sizes, storeys and budgets
// (a third of them stopped part way).
std::vector<Design> RandomDesigns(int count, std::mt19937& random) {
  std::uniform_int_distribution<int> stretch(1, 3), roomSize(15, 60), variance(0, 30),
      storeys(1, 3), steps(0, 120), stopped(0, 2);
  std::vector<Design> designs;
  for (int i = 0; i < count; ++i) {
    const CPolygon2 skyline = test::RandomSkyline(random);
    const int factor = stretch(random);
    Design design;
    for (int v = 0; v < skyline.GetSize(); ++v) design.outline.Add(skyline[v] * factor);
    design.settings.roomSize = static_cast<std::uint32_t>(roomSize(random));
    design.settings.roomSizeVariance = static_cast<std::uint32_t>(variance(random));
    design.settings.storeys = static_cast<std::uint32_t>(storeys(random));
    if (stopped(random) == 0) design.settings.steps = static_cast<std::uint32_t>(steps(random));
    designs.push_back(design);
  }
  return designs;
}

TEST(ConcurrentDesignTest, FourThreadsDesignAsEachBuildingAlone) {
  constexpr int kDesigns = 64;
  constexpr int kThreads = 4;
  std::mt19937 random(18);
  const std::vector<Design> designs = RandomDesigns(kDesigns, random);
  std::vector<Result> alone;
  for (const Design& design : designs) alone.push_back(DumpAndTrace(design));

  std::vector<Result> together(kDesigns);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = t; i < kDesigns; i += kThreads) together[i] = DumpAndTrace(designs[i]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kDesigns; ++i) EXPECT_EQ(together[i], alone[i]) << "design " << i;
}

}  // namespace
}  // namespace quarn
