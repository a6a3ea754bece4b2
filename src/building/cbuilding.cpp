#include "building/cbuilding.h"

CBuilding::CBuilding(const CFloorSpec& spec_, std::uint32_t stepBudget)
    : budget(stepBudget), spec(spec_) {
  quarn::DesignObserver silent;
  DesignStoreys(silent);
}

CBuilding::CBuilding(const CFloorSpec& spec_, std::uint32_t stepBudget,
                     quarn::DesignObserver& observer)
    : budget(stepBudget), spec(spec_) {
  DesignStoreys(observer);
}

void CBuilding::DesignStoreys(quarn::DesignObserver& observer) {
  if (budget.IsExhausted()) {
    // No step to spend: the one storey keeps its outline as a pending region.
    floors.Add(CFloor(spec, 0, budget, observer));
    return;
  }
  for (std::uint32_t i = 0; i != spec.storeys; ++i) {
    if (budget.IsExhausted()) break;
    floors.Add(CFloor(spec, i, budget, observer));
  }
}
