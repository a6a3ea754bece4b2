#pragma once

#include <optional>
#include <vector>

#include "building/cfloor.h"

namespace quarn {

// The doors of a room: the indices of the walls it shares with another room
// (each has a doorway), in wall order.
std::vector<int> GetRoomDoors(const CFloor& floor, int room);

// For every room of floor, the fewest doors to pass from room seed, counting
// seedDistance for the seed itself; none for rooms no door leads to.
std::vector<std::optional<int>> GetDoorDistances(const CFloor& floor, int seed, int seedDistance);

}  // namespace quarn
