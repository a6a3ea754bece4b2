#pragma once

#include <cstdint>
#include <ostream>

#include "geom/cpolygon2.h"

// What to generate for one building: its outline loop (clockwise, grid
// units), the number of storeys and the room sizes in grid cells.
// maxRoomSize is roomSizeVariance + roomSize (unsigned, wraps), kept in step
// by the constructors; it seeds the room sizes of every storey.
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
};
