#pragma once

#include <cstdint>

// A budget that is never used up: every storey is designed to the end.
inline constexpr std::uint32_t STEP_BUDGET_UNLIMITED = 0xFFFFFFFFu;

namespace quarn {

// The design steps one building may still take: one per cell decision of the
// designer, shared by all of its storeys. 0 means none is left;
// STEP_BUDGET_UNLIMITED is never decreased.
class DesignBudget {
 public:
  explicit DesignBudget(std::uint32_t steps_) : steps(steps_) {}

  bool IsExhausted() const { return steps == 0; }
  // Spends one design step, unless none is left or the budget is unlimited.
  void ConsumeStep() {
    if (steps != 0 && steps != STEP_BUDGET_UNLIMITED) --steps;
  }

  std::uint32_t steps;
};

}  // namespace quarn
