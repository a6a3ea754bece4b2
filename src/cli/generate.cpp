#include "generate.h"

#include "building/cfloordesigner.h"
#include "building/cbuilding.h"
#include "plandump.h"

namespace quarn {
namespace {

// Points the design trace at a stream for the lifetime of the object.
class TraceRedirect {
 public:
  explicit TraceRedirect(std::ostream& stream) : previous_(SetDesignTrace(&stream)) {}
  ~TraceRedirect() { SetDesignTrace(previous_); }
  TraceRedirect(const TraceRedirect&) = delete;
  TraceRedirect& operator=(const TraceRedirect&) = delete;

 private:
  std::ostream* previous_;
};

}  // namespace

void GenerateBuildings(const TList<CPolygon2>& loops, const GenerationSettings& settings,
                       std::ostream& trace,
                       const std::function<void(const CBuilding&)>& addBuilding,
                       const std::function<void(int)>& beforeBuilding) {
  const TraceRedirect redirect(trace);
  for (int i = 0; i < loops.GetSize(); ++i) {
    if (beforeBuilding) beforeBuilding(i);
    const CFloorSpec spec(loops[i], settings.storeys, settings.roomSizeVariance, settings.roomSize);
    addBuilding(CBuilding(spec, settings.steps));
  }
}

void GeneratePlans(const TList<CPolygon2>& loops, const GenerationSettings& settings,
                   std::ostream& dump, std::ostream& trace,
                   const std::function<void(int)>& beforeBuilding) {
  PlanDump plan(dump, settings.steps);
  GenerateBuildings(
      loops, settings, trace, [&plan](const CBuilding& building) { plan.AddBuilding(building); },
      beforeBuilding);
  plan.Finish();
}

}  // namespace quarn
