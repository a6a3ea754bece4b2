#include "building/buildingset.h"

namespace quarn {

void BuildingSet::Build(TList<CPolygon2> loops) {
  step = 0;
  buildings.Clear();
  specs.Clear();
  for (int i = 0; i < loops.GetSize(); ++i) {
    specs.Add(CFloorSpec(loops[i], kStoreys, kRoomSizeVariance, kRoomSize));
    AddBuilding(specs[specs.GetSize() - 1]);
  }
}

void BuildingSet::SetStep(std::uint32_t n) {
  step = n;
  buildings.Clear();
  for (int i = 0; i < specs.GetSize(); ++i) AddBuilding(specs[i]);
}

void BuildingSet::StepBack() {
  if (step > 0) SetStep(step - 1);
}

void BuildingSet::AddBuilding(const CFloorSpec& spec) { buildings.Add(CBuilding(spec, step).floors); }

}  // namespace quarn
