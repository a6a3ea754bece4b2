#include "nav/reachability.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <limits>
#include <unordered_map>

#include "finish/circulation.h"

namespace quarn {
namespace {

// Side of the free-floor grid in metres: fine enough for the agent's 0.25 m.
constexpr float kFreeCell = 0.1f;

std::string FormatMetres(float metres) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, metres, std::chars_format::general, 2);
  return std::string(text, result.ptr);
}

CVector2 FacingDirection(Side facing) {
  switch (facing) {
    case SideLeft: return {-1.0f, 0.0f};
    case SideRight: return {1.0f, 0.0f};
    case SideUp: return {0.0f, 1.0f};
    default: return {0.0f, -1.0f};
  }
}

// Which rooms the doors left open and the stairs join to the entrance
// room: reached[k][r].
std::vector<std::vector<bool>> ReachByDoors(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                            const TypedBuilding* typed) {
  std::vector<std::vector<bool>> reached;
  int seed = finished.entrance ? finished.entrance->room : -1;
  for (int k = 0; k < floors.GetSize(); ++k) {
    const CFloor& floor = floors[k];
    const auto rooms = static_cast<std::size_t>(floor.rooms.GetSize());
    std::vector<bool> here(rooms, false);
    const std::unordered_map<const CRoom*, int> indices = floor.GetRoomIndices();
    std::vector<std::vector<int>> neighbours(rooms);
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const CWall& wall = floor.walls[w];
      if (!IsDoorOpen(floor, k, w, typed)) continue;
      const auto a = indices.find(wall.pair.first);
      const auto b = indices.find(wall.pair.second);
      if (a == indices.end() || b == indices.end()) continue;
      neighbours[static_cast<std::size_t>(a->second)].push_back(b->second);
      neighbours[static_cast<std::size_t>(b->second)].push_back(a->second);
    }
    if (seed >= 0 && static_cast<std::size_t>(seed) < rooms) {
      std::deque<int> queue{seed};
      here[static_cast<std::size_t>(seed)] = true;
      while (!queue.empty()) {
        const int room = queue.front();
        queue.pop_front();
        for (const int next : neighbours[static_cast<std::size_t>(room)]) {
          if (here[static_cast<std::size_t>(next)]) continue;
          here[static_cast<std::size_t>(next)] = true;
          queue.push_back(next);
        }
      }
    }
    const auto lower = static_cast<std::size_t>(k);
    const bool climbs = lower < finished.stairs.size() && finished.stairs[lower] &&
                        here[static_cast<std::size_t>(finished.stairs[lower]->roomBelow)];
    seed = climbs ? finished.stairs[lower]->roomAbove : -1;
    reached.push_back(std::move(here));
  }
  return reached;
}

// The boxes of storey k (grid units, storey frame) a walker on its floor
// bumps into: wall pieces low enough to meet a walker, the steps of the
// stair standing on it and its furniture.
std::vector<CBox3> FloorObstacles(const CFloor& floor, int storey, const FinishedBuilding& finished,
                                  const TypedBuilding* typed, const FurnishedBuilding* furnished,
                                  float lowUnits) {
  std::vector<CBox3> obstacles;
  auto add = [&](const TList<CBox3>& boxes) {
    for (int i = 0; i < boxes.GetSize(); ++i) {
      if (boxes[i].GetMin().z < lowUnits) obstacles.push_back(boxes[i]);
    }
  };
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const bool closed = floor.walls[w].GetRoomCount() == 2 && !IsDoorOpen(floor, storey, w, typed);
    add(closed ? floor.walls[w].solid : finished.GetWallPieces(floor, storey, w));
  }
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (stair && stair->lower == storey) add(stair->steps);
  }
  if (furnished) {
    for (const FurniturePiece& piece : furnished->pieces) {
      if (piece.storey == storey) add(piece.boxes);
    }
  }
  return obstacles;
}

// The centre and radius (metres) of the largest disc of free floor in a
// room: its slabs less the obstacles, measured on a grid of kFreeCell.
void FindFreePoint(const TList<CBox3>& slabs, const std::vector<CBox3>& obstacles, int storey,
                   const NavScale& scale, RoomReach& reach) {
  if (slabs.GetSize() == 0) return;
  float x0 = slabs[0].GetMin().x, y0 = slabs[0].GetMin().y, x1 = slabs[0].GetMax().x,
        y1 = slabs[0].GetMax().y, top = slabs[0].GetMax().z;
  for (int i = 1; i < slabs.GetSize(); ++i) {
    x0 = std::min(x0, slabs[i].GetMin().x);
    y0 = std::min(y0, slabs[i].GetMin().y);
    x1 = std::max(x1, slabs[i].GetMax().x);
    y1 = std::max(y1, slabs[i].GetMax().y);
    top = std::max(top, slabs[i].GetMax().z);
  }
  const float cell = kFreeCell / scale.metresPerUnit;  // grid units
  const int width = std::max(1, static_cast<int>(std::ceil((x1 - x0) / cell)));
  const int height = std::max(1, static_cast<int>(std::ceil((y1 - y0) / cell)));
  // Chamfer distances (in cells) to the nearest blocked cell; the grid's
  // border counts as blocked.
  constexpr float kFar = std::numeric_limits<float>::max() / 4;
  std::vector<float> distance(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kFar);
  auto at = [&](int x, int y) -> float& {
    return distance[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  };
  // Cells whose centres lie in a box: off the floor until a slab covers
  // them, blocked where an obstacle does.
  auto mark = [&](const CBox3& box, float value) {
    const int i0 = std::max(0, static_cast<int>(std::ceil((box.GetMin().x - x0) / cell - 0.5f)));
    const int j0 = std::max(0, static_cast<int>(std::ceil((box.GetMin().y - y0) / cell - 0.5f)));
    const int i1 = std::min(width - 1, static_cast<int>(std::floor((box.GetMax().x - x0) / cell - 0.5f)));
    const int j1 = std::min(height - 1, static_cast<int>(std::floor((box.GetMax().y - y0) / cell - 0.5f)));
    for (int y = j0; y <= j1; ++y) {
      for (int x = i0; x <= i1; ++x) at(x, y) = value;
    }
  };
  std::fill(distance.begin(), distance.end(), 0.0f);
  for (int i = 0; i < slabs.GetSize(); ++i) mark(slabs[i], kFar);
  for (const CBox3& obstacle : obstacles) mark(obstacle, 0.0f);
  constexpr float kDiagonal = 1.41421356f;
  auto relax = [&](int x, int y, int dx, int dy, float step) {
    const int nx = x + dx, ny = y + dy;
    const float neighbour = nx < 0 || ny < 0 || nx >= width || ny >= height ? 0.0f : at(nx, ny);
    at(x, y) = std::min(at(x, y), neighbour + step);
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      relax(x, y, -1, 0, 1);
      relax(x, y, 0, -1, 1);
      relax(x, y, -1, -1, kDiagonal);
      relax(x, y, 1, -1, kDiagonal);
    }
  }
  int bestX = 0, bestY = 0;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = width - 1; x >= 0; --x) {
      relax(x, y, 1, 0, 1);
      relax(x, y, 0, 1, 1);
      relax(x, y, 1, 1, kDiagonal);
      relax(x, y, -1, 1, kDiagonal);
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (at(x, y) > at(bestX, bestY)) bestX = x, bestY = y;
    }
  }
  reach.freeRadius = std::max(0.0f, at(bestX, bestY) - 0.5f) * kFreeCell;
  reach.freePoint = scale.ToMetres(CVector3(x0 + (static_cast<float>(bestX) + 0.5f) * cell,
                                            y0 + (static_cast<float>(bestY) + 0.5f) * cell, top),
                                   storey);
}

// The width in metres of the widest open doorway of a room.
float WidestDoor(const CFloor& floor, int storey, int room, const FinishedBuilding& finished,
                 const TypedBuilding* typed, const NavScale& scale, int& count) {
  float widest = 0;
  count = 0;
  for (const int w : finished.GetDoors(floor, storey, room)) {
    const bool entrance = storey == 0 && finished.entrance && finished.entrance->wall == w;
    if (!entrance && !IsDoorOpen(floor, storey, w, typed)) continue;
    const CBox3 door = floor.walls[w].GetDoorBox();
    const float along = std::max(door.GetMax().x - door.GetMin().x, door.GetMax().y - door.GetMin().y);
    widest = std::max(widest, along * scale.metresPerUnit);
    ++count;
  }
  return widest;
}

}  // namespace

CVector3 GetOutsidePoint(const Entrance& entrance, const NavScale& scale, float unitsOut) {
  const CVector2 out = FacingDirection(entrance.facing);
  return scale.PlanToMetres(entrance.centre.x + out.x * unitsOut, entrance.centre.y + out.y * unitsOut, 0.0f);
}

NavBuilding NavigateBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                             const TypedBuilding* typed, const FurnishedBuilding* furnished,
                             const NavScale& scale, const NavAgent& agent) {
  NavBuilding nav;
  std::string meshError;
  nav.mesh = NavMesh::Build(GetWalkableGeometry(floors, finished, typed, furnished, scale), agent, meshError);
  if (finished.entrance) nav.start = GetOutsidePoint(*finished.entrance, scale, 0.5f);
  const std::vector<std::vector<bool>> byDoors = ReachByDoors(floors, finished, typed);
  const float lowUnits = agent.height / (scale.storeyHeight / kStoreyRise);
  for (int k = 0; k < floors.GetSize(); ++k) {
    const CFloor& floor = floors[k];
    const auto storey = static_cast<std::size_t>(k);
    const std::vector<CBox3> obstacles = FloorObstacles(floor, k, finished, typed, furnished, lowUnits);
    std::vector<RoomReach>& rooms = nav.rooms.emplace_back(static_cast<std::size_t>(floor.rooms.GetSize()));
    const bool stairBelow = k == 0 || std::any_of(byDoors[storey].begin(), byDoors[storey].end(),
                                                  [](bool b) { return b; });
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      RoomReach& reach = rooms[static_cast<std::size_t>(r)];
      FindFreePoint(finished.GetSlabs(floor, k, r), obstacles, k, scale, reach);
      int doors = 0;
      const float door = WidestDoor(floor, k, r, finished, typed, scale, doors);
      if (!finished.complete[storey]) {
        reach.reason = "storey " + std::to_string(k) + " is not complete";
      } else if (!finished.entrance) {
        reach.reason = "the building has no entrance";
      } else if (!byDoors[storey][static_cast<std::size_t>(r)]) {
        reach.reason = stairBelow ? "no open door leads to it" : "no stair reaches storey " + std::to_string(k);
      } else if (reach.freeRadius < agent.radius) {
        reach.reason = "it has no free floor as wide as the agent";
      } else if (doors > 0 && door <= 2 * (agent.radius + agent.cellSize)) {
        reach.reason = (doors == 1 ? "its only door is " : "its doors are ") + FormatMetres(door) + " m wide";
      } else if (!nav.mesh) {
        reach.reason = "no path on the navigation mesh: " + meshError;
      } else if (const auto path = nav.mesh->FindPath(*nav.start, reach.freePoint)) {
        reach.reachable = true;
        reach.pathLength = GetPathLength(*path);
      } else {
        reach.reason = furnished && !furnished->pieces.empty() ? "furniture blocks the way"
                                                               : "no path on the navigation mesh";
      }
      const bool finishingSays = !finished.complete[storey] || !finished.entrance ||
                                 (!byDoors[storey][static_cast<std::size_t>(r)] && !stairBelow);
      if (!reach.reachable && !finishingSays) {
        nav.unreachable.push_back("room " + std::to_string(r) + " on storey " + std::to_string(k) +
                                  " unreachable: " + reach.reason);
      }
    }
  }
  return nav;
}

}  // namespace quarn
