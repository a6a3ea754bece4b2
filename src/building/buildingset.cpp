#include "building/buildingset.h"

#include <algorithm>

namespace quarn {

void BuildingSet::Build(TList<CPolygon2> loops, std::uint32_t storeys) {
  step = 0;
  ++revision;
  buildings.Clear();
  specs.Clear();
  DesignSettings settings;
  settings.storeys = storeys;
  for (int i = 0; i < loops.GetSize(); ++i) {
    specs.Add(SpecOf(loops[i], settings));
    AddBuilding(specs[specs.GetSize() - 1], step);
  }
}

void BuildingSet::SetStep(std::uint32_t n) {
  step = n;
  ++revision;
  buildings.Clear();
  for (int i = 0; i < specs.GetSize(); ++i) AddBuilding(specs[i], step);
}

void BuildingSet::SetLastStep() {
  // More steps than any design takes, yet finite, so that it is spent.
  constexpr std::uint32_t kAmple = STEP_BUDGET_UNLIMITED - 1;
  ++revision;
  buildings.Clear();
  std::uint32_t last = 0;
  for (int i = 0; i < specs.GetSize(); ++i) last = std::max(last, AddBuilding(specs[i], kAmple));
  step = last;
}

void BuildingSet::StepBack() {
  if (step > 0) SetStep(step - 1);
}

std::uint32_t BuildingSet::AddBuilding(const CFloorSpec& spec, std::uint32_t stepBudget) {
  DesignObserver silent;
  const CBuilding building(spec, stepBudget, observer != nullptr ? *observer : silent);
  buildings.Add(building.floors);
  return stepBudget - building.budget.steps;
}

}  // namespace quarn
