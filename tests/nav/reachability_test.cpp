// Reachability: every room of every complete storey is reached from the
// entrance on the navigation mesh, or says why from the documented list;
// checked against an independent flood fill over a fine grid of the floor.

#include "nav/reachability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <iostream>

#include "building/building_support.h"
#include "building/cbuilding.h"
#include "furnish/furnish.h"
#include "programme/programme.h"

namespace quarn {
namespace {

constexpr float kCell = 0.1f;  // metres; the flood fill's grid

CPolygon2 Scaled(const CPolygon2& outline, int factor) {
  CPolygon2 scaled;
  for (int i = 0; i < outline.GetSize(); ++i) scaled.Add(CPoint2(outline[i].x * factor, outline[i].y * factor));
  return scaled;
}

bool InPlan(const CBox3& box, float x, float y) {
  return box.GetMin().x <= x && x < box.GetMax().x && box.GetMin().y <= y && y < box.GetMax().y;
}

// The floor of one storey on a grid of kCell metres (x, y in grid units at
// 1 m a unit): which room each cell is on (-1 outside, -2 no floor), and
// whether a walker's centre fits there (no obstacle nearer than its
// radius).
struct FloodGrid {
  float x0 = 0, y0 = 0;
  int width = 0, height = 0;
  std::vector<int> room;
  std::vector<bool> open;
  std::vector<bool> reached;

  int Index(float x, float y) const {
    const int i = static_cast<int>(std::floor((x - x0) / kCell));
    const int j = static_cast<int>(std::floor((y - y0) / kCell));
    return i < 0 || j < 0 || i >= width || j >= height ? -1 : j * width + i;
  }
  CVector2 Centre(int index) const {
    return {x0 + (static_cast<float>(index % width) + 0.5f) * kCell,
            y0 + (static_cast<float>(index / width) + 0.5f) * kCell};
  }
};

// What the law's building was typed and furnished with (both none, or both
// given).
struct Layers {
  const TypedBuilding* typed = nullptr;
  const FurnishedBuilding* furnished = nullptr;
};

FloodGrid MakeGrid(const TList<CFloor>& floors, const FinishedBuilding& finished, int k, const NavAgent& agent,
                   const Layers& layers) {
  const CFloor& floor = floors[k];
  FloodGrid grid;
  float x1 = -1e9f, y1 = -1e9f;
  grid.x0 = grid.y0 = 1e9f;
  for (int r = 0; r < floor.rooms.GetSize(); ++r) {
    for (int i = 0; i < floor.slabs[r].GetSize(); ++i) {
      grid.x0 = std::min(grid.x0, floor.slabs[r][i].GetMin().x - 2);
      grid.y0 = std::min(grid.y0, floor.slabs[r][i].GetMin().y - 2);
      x1 = std::max(x1, floor.slabs[r][i].GetMax().x + 2);
      y1 = std::max(y1, floor.slabs[r][i].GetMax().y + 2);
    }
  }
  grid.width = static_cast<int>((x1 - grid.x0) / kCell);
  grid.height = static_cast<int>((y1 - grid.y0) / kCell);
  const auto cells = static_cast<std::size_t>(grid.width * grid.height);
  grid.room.assign(cells, k == 0 ? -1 : -2);
  grid.open.assign(cells, true);
  grid.reached.assign(cells, false);
  // The cells of a plan box (grid units): visit(index) for each.
  auto forCells = [&](float bx0, float by0, float bx1, float by1, const auto& visit) {
    const int i0 = std::max(0, static_cast<int>(std::floor((bx0 - grid.x0) / kCell)));
    const int j0 = std::max(0, static_cast<int>(std::floor((by0 - grid.y0) / kCell)));
    const int i1 = std::min(grid.width - 1, static_cast<int>(std::ceil((bx1 - grid.x0) / kCell)));
    const int j1 = std::min(grid.height - 1, static_cast<int>(std::ceil((by1 - grid.y0) / kCell)));
    for (int j = j0; j <= j1; ++j) {
      for (int i = i0; i <= i1; ++i) visit(static_cast<std::size_t>(j * grid.width + i));
    }
  };
  for (int r = 0; r < floor.rooms.GetSize(); ++r) {
    const TList<CBox3> slabs = finished.GetSlabs(floor, k, r);
    for (int i = 0; i < slabs.GetSize(); ++i) {
      const CBox3& slab = slabs[i];
      forCells(slab.GetMin().x, slab.GetMin().y, slab.GetMax().x, slab.GetMax().y, [&](std::size_t c) {
        const CVector2 p = grid.Centre(static_cast<int>(c));
        if (InPlan(slab, p.x, p.y)) grid.room[c] = r;
      });
    }
  }
  for (std::size_t c = 0; c < cells; ++c) grid.open[c] = grid.room[c] != -2;
  // Obstacles: wall pieces within the walker's height (a storey is 3 m,
  // 1.5 units; a closed door's wall is whole), the stair's steps and the
  // furniture, inflated by the agent's radius.
  std::vector<CBox3> obstacles;
  const float headUnits = agent.height / 2.0f;
  auto addLow = [&](const TList<CBox3>& boxes) {
    for (int i = 0; i < boxes.GetSize(); ++i) {
      if (boxes[i].GetMin().z < headUnits) obstacles.push_back(boxes[i]);
    }
  };
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const bool closed = layers.typed && floor.walls[w].GetRoomCount() == 2 &&
                        !layers.typed->doorKept[static_cast<std::size_t>(k)][static_cast<std::size_t>(w)];
    addLow(closed ? floor.walls[w].solid : finished.GetWallPieces(floor, k, w));
  }
  if (layers.furnished) {
    for (const FurniturePiece& piece : layers.furnished->pieces) {
      if (piece.storey == k) addLow(piece.boxes);
    }
  }
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (!stair || stair->lower != k) continue;
    for (int i = 0; i < stair->steps.GetSize(); ++i) obstacles.push_back(stair->steps[i]);
  }
  const float r = agent.radius;
  for (const CBox3& box : obstacles) {
    forCells(box.GetMin().x - r, box.GetMin().y - r, box.GetMax().x + r, box.GetMax().y + r, [&](std::size_t c) {
      const CVector2 p = grid.Centre(static_cast<int>(c));
      const float dx = std::max({box.GetMin().x - p.x, 0.0f, p.x - box.GetMax().x});
      const float dy = std::max({box.GetMin().y - p.y, 0.0f, p.y - box.GetMax().y});
      if (dx * dx + dy * dy < r * r) grid.open[c] = false;
    });
  }
  return grid;
}

void Flood(FloodGrid& grid, std::deque<int> queue) {
  while (!queue.empty()) {
    const int c = queue.front();
    queue.pop_front();
    const int x = c % grid.width, y = c / grid.width;
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= grid.width || ny >= grid.height) continue;
      const auto n = static_cast<std::size_t>(ny * grid.width + nx);
      if (!grid.open[n] || grid.reached[n]) continue;
      grid.reached[n] = true;
      queue.push_back(static_cast<int>(n));
    }
  }
}

// The open cells of a plan box (grid units).
std::deque<int> OpenCells(const FloodGrid& grid, const CBox2& box) {
  std::deque<int> cells;
  for (std::size_t c = 0; c < grid.open.size(); ++c) {
    const CVector2 p = grid.Centre(static_cast<int>(c));
    if (grid.open[c] && box.minCorner.x <= p.x && p.x < box.maxCorner.x && box.minCorner.y <= p.y &&
        p.y < box.maxCorner.y) {
      cells.push_back(static_cast<int>(c));
    }
  }
  return cells;
}

// reached[k][r]: the flood fill from outside the entrance, up the stairs.
std::vector<std::vector<bool>> FloodReach(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                          const NavAgent& agent, const Layers& layers) {
  std::vector<std::vector<bool>> reached;
  std::deque<int> seeds;
  for (int k = 0; k < floors.GetSize(); ++k) {
    FloodGrid grid = MakeGrid(floors, finished, k, agent, layers);
    if (k == 0) {
      const CVector3 start = GetOutsidePoint(*finished.entrance, {}, 0.5f);
      seeds = {grid.Index(start.x, start.y)};
    }
    for (const int c : seeds) grid.reached[static_cast<std::size_t>(c)] = true;
    Flood(grid, seeds);
    std::vector<bool>& rooms = reached.emplace_back(static_cast<std::size_t>(floors[k].rooms.GetSize()));
    for (std::size_t c = 0; c < grid.room.size(); ++c) {
      if (grid.reached[c] && grid.room[c] >= 0) rooms[static_cast<std::size_t>(grid.room[c])] = true;
    }
    seeds.clear();
    const auto lower = static_cast<std::size_t>(k);
    if (lower >= finished.stairs.size() || !finished.stairs[lower]) continue;
    const Stair& stair = *finished.stairs[lower];
    const std::deque<int> foot = OpenCells(grid, GetStairFoot(stair.footprint, stair.climb));
    const bool climbed = std::any_of(foot.begin(), foot.end(),
                                     [&](int c) { return grid.reached[static_cast<std::size_t>(c)]; });
    if (climbed) seeds = OpenCells(MakeGrid(floors, finished, k + 1, agent, layers), GetStairHead(stair.footprint, stair.climb));
  }
  return reached;
}

bool IsDocumentedReason(const std::string& reason) {
  for (const char* prefix : {"storey ", "the building has no entrance", "no stair reaches storey ",
                             "no open door leads to it", "it has no free floor as wide as the agent",
                             "its only door is ", "its doors are ", "furniture blocks the way",
                             "no path on the navigation mesh"}) {
    if (reason.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// Random outlines (scaled 1 or 2 so that some rooms hold stairs) x storeys
// 1 to 3 x variance 0 and 60, each case in turn without a programme, typed
// and furnished as a house, and as an office.
TEST(ReachabilityLaw, EveryRoomOfACompleteStoreyIsReachedAsTheFloodFillSays) {
  int cases = 0, rooms = 0, reachable = 0;
  const NavAgent agent;
  const Programme house = *GetBuiltinProgramme("house");
  const Programme office = *GetBuiltinProgramme("office");
  for (unsigned seed = 0; seed < 4; ++seed) {
    const CPolygon2 outline = Scaled(test::RandomOutline(seed), seed % 2 == 0 ? 1 : 2);
    for (std::uint32_t storeys = 1; storeys <= 3; ++storeys) {
      for (const std::uint32_t variance : {0u, 60u}) {
        const test::CapturedTrace quiet;
        const TList<CFloor> floors = CBuilding(CFloorSpec(outline, storeys, variance, 45), STEP_BUDGET_UNLIMITED).floors;
        const FinishedBuilding finished = FinishBuilding(floors);
        const Programme* programme = cases % 3 == 0 ? nullptr : cases % 3 == 1 ? &house : &office;
        SCOPED_TRACE(testing::Message() << "outline " << outline << " storeys " << storeys << " variance "
                                        << variance << " programme " << (programme ? programme->name : "none"));
        std::optional<TypedBuilding> typed;
        std::optional<FurnishedBuilding> furnished;
        if (programme) {
          typed = ApplyProgramme(floors, finished, *programme, 1.0f);
          furnished = FurnishBuilding(floors, finished, *typed, 1.0f);
        }
        const Layers layers{typed ? &*typed : nullptr, furnished ? &*furnished : nullptr};
        const NavBuilding nav = NavigateBuilding(floors, finished, layers.typed, layers.furnished, {}, agent);
        ++cases;
        ASSERT_TRUE(finished.entrance.has_value());
        ASSERT_TRUE(nav.mesh.has_value());
        const std::vector<std::vector<bool>> flood = FloodReach(floors, finished, agent, layers);
        for (int k = 0; k < floors.GetSize(); ++k) {
          if (!finished.complete[static_cast<std::size_t>(k)]) continue;
          for (int r = 0; r < floors[k].rooms.GetSize(); ++r) {
            const RoomReach& reach = nav.rooms[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)];
            ++rooms;
            reachable += reach.reachable;
            EXPECT_EQ(reach.reachable, flood[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)])
                << "storey " << k << " room " << r << ": " << reach.reason;
            EXPECT_EQ(reach.reachable, reach.pathLength.has_value());
            if (!reach.reachable) {
              EXPECT_TRUE(IsDocumentedReason(reach.reason)) << reach.reason;
            }
          }
        }
      }
    }
  }
  std::cout << cases << " cases, " << rooms << " rooms of complete storeys, " << reachable << " reachable\n";
}

}  // namespace
}  // namespace quarn
