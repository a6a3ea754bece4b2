#pragma once

#include <cstdint>

#include "building/cfloor.h"
#include "building/cfloordef.h"
#include "building/designbudget.h"
#include "building/designobserver.h"
#include "tlist.h"

// A generated building: its storeys, lowest first, designed from a copy of
// its spec with at most stepBudget design decisions (one per cell placed).
// The budget is shared by all storeys and holds what is left of it once the
// constructor returns. Generation is deterministic, so a budget of n + 1
// repeats every decision of a budget of n and makes one more. The storeys
// are copies whose back references point into themselves.
class CBuilding {
 public:
  // Designs every storey, reporting each design step to observer (by
  // default to none).
  CBuilding(const CFloorSpec& spec, std::uint32_t stepBudget);
  CBuilding(const CFloorSpec& spec, std::uint32_t stepBudget, quarn::DesignObserver& observer);

  const CFloorSpec& GetSpec() const { return spec; }

  TList<CFloor> floors;
  quarn::DesignBudget budget;
  CFloorSpec spec;

 private:
  void DesignStoreys(quarn::DesignObserver& observer);
};
