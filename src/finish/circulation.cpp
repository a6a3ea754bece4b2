#include "finish/circulation.h"

#include <deque>
#include <unordered_map>

namespace quarn {

std::vector<int> GetRoomDoors(const CFloor& floor, int room) {
  std::vector<int> doors;
  const CRoom* target = room >= 0 && room < floor.rooms.GetSize() ? &floor.rooms[room] : nullptr;
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CWall& wall = floor.walls[w];
    if (wall.GetRoomCount() == 2 && (wall.pair.first == target || wall.pair.second == target)) {
      doors.push_back(w);
    }
  }
  return doors;
}

std::vector<std::optional<int>> GetDoorDistances(const CFloor& floor, int seed, int seedDistance) {
  const auto rooms = static_cast<std::size_t>(floor.rooms.GetSize());
  std::vector<std::optional<int>> distances(rooms);
  if (seed < 0 || static_cast<std::size_t>(seed) >= rooms) return distances;
  const std::unordered_map<const CRoom*, int> indices = floor.GetRoomIndices();
  std::vector<std::vector<int>> neighbours(rooms);
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CWall& wall = floor.walls[w];
    if (wall.GetRoomCount() != 2) continue;
    const auto a = indices.find(wall.pair.first);
    const auto b = indices.find(wall.pair.second);
    if (a == indices.end() || b == indices.end()) continue;
    neighbours[static_cast<std::size_t>(a->second)].push_back(b->second);
    neighbours[static_cast<std::size_t>(b->second)].push_back(a->second);
  }
  std::deque<int> queue{seed};
  distances[static_cast<std::size_t>(seed)] = seedDistance;
  while (!queue.empty()) {
    const auto room = static_cast<std::size_t>(queue.front());
    queue.pop_front();
    for (const int next : neighbours[room]) {
      std::optional<int>& d = distances[static_cast<std::size_t>(next)];
      if (d) continue;
      d = *distances[room] + 1;
      queue.push_back(next);
    }
  }
  return distances;
}

}  // namespace quarn
