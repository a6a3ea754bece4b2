#include "building/cbuilding.h"

CBuilding::CBuilding(const CFloorSpec& spec_, std::uint32_t stepBudget_)
    : stepBudget(stepBudget_), spec(spec_) {
  if (stepBudget == 0) {
    // No step to spend: the one storey keeps its outline as a pending region.
    CFloor floor(*this);
    floors.Add(floor);
    return;
  }
  for (std::uint32_t i = 0; i != spec.storeys; ++i) {
    if (IsBudgetExhausted()) break;
    CFloor floor(*this);
    floors.Add(floor);
  }
}

void CBuilding::ConsumeStep() {
  if (stepBudget != 0 && stepBudget != STEP_BUDGET_UNLIMITED) --stepBudget;
}
