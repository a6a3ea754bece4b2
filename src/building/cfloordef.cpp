#include "building/cfloordef.h"

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

namespace quarn {

CFloorSpec SpecOf(const CPolygon2& loop, const DesignSettings& settings) {
  CFloorSpec spec(loop, settings.storeys, settings.roomSizeVariance, settings.roomSize);
  spec.seed = settings.seed;
  return spec;
}

}  // namespace quarn
