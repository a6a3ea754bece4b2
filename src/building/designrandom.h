#pragma once

#include <cstdint>

namespace quarn {

// The linear congruential generator that decides room sizes. Its constants
// and output range (0..32767) are fixed: stepping a design depends on every
// run drawing the same sequence.
class DesignRandom {
 public:
  static constexpr int kMax = 32767;

  explicit DesignRandom(std::uint32_t seed = 1) : state_(seed) {}

  void Seed(std::uint32_t seed) { state_ = seed; }

  // Advances the state and returns a value in 0..kMax.
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_;
};

// The target area of a room for one draw of the design generator (0..32767):
// roomSize deviated by up to roomSizeVariance, in unsigned arithmetic, so a
// deviation below -roomSize wraps to a huge target that takes a whole region.
std::uint32_t RoomTargetArea(std::uint32_t roomSize, std::uint32_t roomSizeVariance, int draw);

}  // namespace quarn
