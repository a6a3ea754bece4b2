#pragma once

#include <cstdint>

#include "building/cfloor.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// What to generate for one building: its outline loop (clockwise, grid
// units), the number of storeys and the room sizes in grid cells.
// maxRoomSize is roomSizeVariance + roomSize (unsigned, wraps), kept in step
// by the constructors; it seeds the room sizes of every storey. seed is added
// to each storey's seed, so 0 gives the design's own run and other values
// other plans of the same outline (only where roomSizeVariance is not 0).
class CFloorSpec {
 public:
  CFloorSpec(const CPolygon2& outline, std::uint32_t storeys, std::uint32_t roomSizeVariance,
             std::uint32_t roomSize);
  CFloorSpec(const CFloorSpec& other);
  CFloorSpec& operator=(const CFloorSpec& other);

  std::uint32_t GetMaxRoomSize() const { return maxRoomSize; }

  std::uint32_t storeys;
  std::uint32_t roomSizeVariance;
  std::uint32_t roomSize;
  CPolygon2 outline;
  std::uint32_t maxRoomSize;
  int seed = 0;
};

// A budget that is never used up: every storey is designed to the end.
inline constexpr std::uint32_t STEP_BUDGET_UNLIMITED = 0xFFFFFFFFu;

// A generated building: its storeys, lowest first, designed from a copy of
// its spec with at most stepBudget design decisions (one per cell placed).
// The budget is shared by all storeys; 0 means none is left, and
// STEP_BUDGET_UNLIMITED is never decreased. Generation is deterministic, so
// a budget of n + 1 repeats every decision of a budget of n and makes one
// more. The storeys are copies whose back references point into themselves.
class CBuilding {
 public:
  CBuilding(const CFloorSpec& spec, std::uint32_t stepBudget);

  const CFloorSpec& GetSpec() const { return spec; }
  bool IsBudgetExhausted() const { return stepBudget == 0; }
  // Spends one design step, unless none is left or the budget is unlimited.
  void ConsumeStep();

  TList<CFloor> floors;
  std::uint32_t stepBudget;
  CFloorSpec spec;
};
