#pragma once

#include <cstdint>

#include "geom/cpolygon2.h"

// The definition of one building, what to generate for it: its outline loop
// (clockwise, grid units), the number of storeys and the room sizes in grid
// cells.
// maxRoomSize is roomSizeVariance + roomSize (unsigned, wraps), kept in step
// by the constructors; it seeds the room sizes of every storey. seed is
// added to every storey's generator seed; 0 designs the buildings the view
// makes.
class CFloorSpec {
 public:
  CFloorSpec(const CPolygon2& outline, std::uint32_t storeys, std::uint32_t roomSizeVariance,
             std::uint32_t roomSize);
  CFloorSpec(const CFloorSpec& other);
  CFloorSpec& operator=(const CFloorSpec& other);

  std::uint32_t GetMaxRoomSize() const { return maxRoomSize; }
  // The seed of the generator that draws the room sizes of storey (0 the
  // lowest).
  std::uint32_t GetStoreySeed(std::uint32_t storey) const {
    return maxRoomSize * (storey + 1u) + static_cast<std::uint32_t>(seed);
  }

  std::uint32_t storeys;
  std::uint32_t roomSizeVariance;
  std::uint32_t roomSize;
  CPolygon2 outline;
  std::uint32_t maxRoomSize;
  int seed = 0;
};

namespace quarn {

// What a building's definition takes besides its outline. The defaults are
// the design's own, and the one source of the defaults of the view, every
// tool, the C interface and Python.
struct DesignSettings {
  std::uint32_t roomSize = 45;
  std::uint32_t roomSizeVariance = 0;
  std::uint32_t storeys = 1;
  int seed = 0;  // CFloorSpec::seed
};

// The definition of the building of one outline loop: every place that
// makes one building per loop makes each this way.
CFloorSpec SpecOf(const CPolygon2& loop, const DesignSettings& settings);

}  // namespace quarn
