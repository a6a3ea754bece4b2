#pragma once

#include <cstdint>

#include "building/cbuilding.h"
#include "building/designobserver.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

namespace quarn {

// The buildings of the view: one spec per outline loop, the step budget of
// the current picture, and for each spec, in the same order, the storeys of
// its building generated with that budget. Every change of the step count
// regenerates all buildings from their specs, so stepping back and forth
// shows the design growing and shrinking by one decision per step.
class BuildingSet {
 public:
  // Storeys, room size variance and room size of every building made here.
  static constexpr std::uint32_t kStoreys = DesignSettings{}.storeys;
  static constexpr std::uint32_t kRoomSizeVariance = DesignSettings{}.roomSizeVariance;
  static constexpr std::uint32_t kRoomSize = DesignSettings{}.roomSize;

  // One spec per loop, in loop order, of that many storeys; the picture
  // starts at step 0.
  void Build(TList<CPolygon2> loops, std::uint32_t storeys = kStoreys);
  // Regenerates every building with a budget of n design steps.
  void SetStep(std::uint32_t n);
  // Regenerates every building to the end of its design and sets the step
  // count to the design decisions of the longest one: the same buildings
  // and trace as SetStep with that count, and one more step changes nothing.
  void SetLastStep();
  // One step forward; one step back unless at step 0.
  void StepForward() { SetStep(step + 1); }
  void StepBack();

  TList<CFloorSpec> specs;
  std::uint32_t step = 0;
  TList<TList<CFloor>> buildings;
  // Counts the changes of buildings, so that what is made from them can
  // tell when it is out of date.
  std::uint64_t revision = 0;
  // Where every regeneration reports its design steps; null for nowhere.
  DesignObserver* observer = nullptr;

 private:
  // Generates the building of spec with a budget of stepBudget design
  // steps; returns the steps it took.
  std::uint32_t AddBuilding(const CFloorSpec& spec, std::uint32_t stepBudget);
};

}  // namespace quarn
