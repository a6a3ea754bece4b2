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

CFloorSpec::CFloorSpec(const CPolygon2& outline_, std::uint32_t storeys_,
                       std::uint32_t roomSizeVariance_, std::uint32_t roomSize_)
    : storeys(storeys_),
      roomSizeVariance(roomSizeVariance_),
      roomSize(roomSize_),
      outline(outline_),
      maxRoomSize(roomSizeVariance_ + roomSize_) {}

CFloorSpec::CFloorSpec(const CFloorSpec& other)
    : CFloorSpec(other.outline, other.storeys, other.roomSizeVariance, other.roomSize) {
  seed = other.seed;
}

CFloorSpec& CFloorSpec::operator=(const CFloorSpec& other) {
  if (this != &other) {
    storeys = other.storeys;
    roomSizeVariance = other.roomSizeVariance;
    roomSize = other.roomSize;
    outline = other.outline;
    maxRoomSize = roomSizeVariance + roomSize;
    seed = other.seed;
  }
  return *this;
}
