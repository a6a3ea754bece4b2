// The programme layer: the hard rules over random outlines and settings,
// how often the built-in programmes meet their counts, and the examples.

#include "programme/programme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <fstream>
#include <iostream>
#include <sstream>

#include "building/building_support.h"
#include "building/cbuilding.h"

namespace quarn {
namespace {

using test::CapturedTrace;

TList<CFloor> Generate(const CPolygon2& outline, std::uint32_t storeys, std::uint32_t variance,
                       std::uint32_t roomSize, int seed = 0,
                       std::uint32_t budget = STEP_BUDGET_UNLIMITED) {
  const CapturedTrace quiet;
  CFloorSpec spec(outline, storeys, variance, roomSize);
  spec.seed = seed;
  return CBuilding(spec, budget).floors;
}

CPolygon2 Scaled(const CPolygon2& outline, int factor) {
  CPolygon2 scaled;
  for (int i = 0; i < outline.GetSize(); ++i) scaled.Add(CPoint2(outline[i].x * factor, outline[i].y * factor));
  return scaled;
}

int IndexOf(const CFloor& floor, const CRoom* room) { return floor.GetRoomIndex(room); }

bool HasWindow(const CFloor& floor, const FinishedBuilding& finished, int storey, int room) {
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CWall& wall = floor.walls[w];
    if (wall.GetRoomCount() != 1 || IndexOf(floor, wall.pair.first) != room) continue;
    if (storey == 0 && finished.entrance && finished.entrance->wall == w) continue;
    if (wall.GetOpening() == CWall::Opening::kWindow) return true;
  }
  return false;
}

bool IsPublicRoom(const TypedBuilding& typed, int storey, int room) {
  const std::optional<RoomType>& type =
      typed.types[static_cast<std::size_t>(storey)][static_cast<std::size_t>(room)];
  return type && IsPublicRoomType(*type);
}

// The five rules every typed building keeps, checked from the floors alone.
void ExpectHardRules(const TList<CFloor>& floors, const FinishedBuilding& finished,
                     const Programme& programme, const TypedBuilding& typed, float unit) {
  ASSERT_EQ(typed.types.size(), static_cast<std::size_t>(floors.GetSize()));
  ASSERT_EQ(typed.doorKept.size(), static_cast<std::size_t>(floors.GetSize()));
  // Rooms are numbered across storeys for the walk from the entrance.
  std::vector<int> first;
  int total = 0;
  for (int k = 0; k < floors.GetSize(); ++k) {
    first.push_back(total);
    total += floors[k].rooms.GetSize();
  }
  std::vector<std::vector<int>> links(static_cast<std::size_t>(total));
  const auto join = [&](int a, int b) {
    links[static_cast<std::size_t>(a)].push_back(b);
    links[static_cast<std::size_t>(b)].push_back(a);
  };
  for (int k = 0; k < floors.GetSize(); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const CFloor& floor = floors[k];
    const bool complete = finished.complete[s];
    ASSERT_EQ(typed.types[s].size(), static_cast<std::size_t>(floor.rooms.GetSize()));
    ASSERT_EQ(typed.doorKept[s].size(), static_cast<std::size_t>(floor.walls.GetSize()));
    std::vector<int> doors(static_cast<std::size_t>(floor.rooms.GetSize()), 0);
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const CWall& wall = floor.walls[w];
      if (wall.GetRoomCount() != 2) {
        EXPECT_TRUE(typed.doorKept[s][static_cast<std::size_t>(w)]) << "outer wall " << w;
        continue;
      }
      const int a = IndexOf(floor, wall.pair.first);
      const int b = IndexOf(floor, wall.pair.second);
      const bool kept = typed.doorKept[s][static_cast<std::size_t>(w)];
      if (complete && IsPublicRoom(typed, k, a) && IsPublicRoom(typed, k, b)) {
        EXPECT_TRUE(kept) << "storey " << k << " wall " << w << " between public rooms";
      }
      if (!kept) continue;
      ++doors[static_cast<std::size_t>(a)];
      ++doors[static_cast<std::size_t>(b)];
      join(first[s] + a, first[s] + b);
      if (!complete) continue;
      EXPECT_TRUE(IsPublicRoom(typed, k, a) || IsPublicRoom(typed, k, b))
          << "storey " << k << " wall " << w << " joins two private rooms";
    }
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      SCOPED_TRACE(testing::Message() << "storey " << k << " room " << r);
      const std::optional<RoomType>& type = typed.types[s][static_cast<std::size_t>(r)];
      ASSERT_EQ(type.has_value(), complete);
      if (!type) continue;
      const RoomTypeRules& rules = programme.Rules(*type);
      EXPECT_TRUE(rules.used) << GetRoomTypeKey(*type);
      EXPECT_TRUE(IsPublicRoomType(*type) || doors[static_cast<std::size_t>(r)] == 1)
          << GetRoomTypeKey(*type) << " has " << doors[static_cast<std::size_t>(r)] << " doors";
      EXPECT_GE(GetRoomArea(floor, r) * unit * unit, rules.minArea - 1e-4);
      const CPoint2 size = floor.rooms[r].outline.GetExtents().GetSize();
      EXPECT_GE(std::min(size.x, size.y) * unit, rules.minWidth - 1e-4);
      EXPECT_TRUE(!rules.daylight || HasWindow(floor, finished, k, r)) << GetRoomTypeKey(*type);
      EXPECT_FALSE(typed.names[s][static_cast<std::size_t>(r)].empty());
    }
  }
  EXPECT_TRUE(!finished.entrance || IsPublicRoom(typed, 0, finished.entrance->room));
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (!stair) continue;
    EXPECT_TRUE(IsPublicRoom(typed, stair->lower, stair->roomBelow));
    EXPECT_TRUE(IsPublicRoom(typed, stair->lower + 1, stair->roomAbove));
    join(first[static_cast<std::size_t>(stair->lower)] + stair->roomBelow,
         first[static_cast<std::size_t>(stair->lower) + 1] + stair->roomAbove);
  }
  std::vector<bool> reached(static_cast<std::size_t>(total), false);
  std::deque<int> queue;
  if (finished.entrance) {
    queue.push_back(finished.entrance->room);
    reached[static_cast<std::size_t>(finished.entrance->room)] = true;
  }
  while (!queue.empty()) {
    const int room = queue.front();
    queue.pop_front();
    for (const int next : links[static_cast<std::size_t>(room)]) {
      if (!reached[static_cast<std::size_t>(next)]) {
        reached[static_cast<std::size_t>(next)] = true;
        queue.push_back(next);
      }
    }
  }
  for (int k = 0; k < floors.GetSize(); ++k) {
    for (int r = 0; r < floors[k].rooms.GetSize(); ++r) {
      if (finished.fromEntrance[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)]) {
        EXPECT_TRUE(reached[static_cast<std::size_t>(first[static_cast<std::size_t>(k)] + r)])
            << "storey " << k << " room " << r << " is no longer reachable";
      }
    }
  }
}

// The kinds of goal an unmet phrase names: counts, storey wishes ("<type>:
// wished on/above the ground storey") and adjacencies ("wished to open").
enum GoalKind { kCounts, kStoreys, kAdjacencies, kGoalKinds };
constexpr const char* kGoalKindNames[] = {"counts", "storey wishes", "adjacencies"};

GoalKind KindOf(const std::string& phrase) {
  if (phrase.find(": wished to open") != std::string::npos) return kAdjacencies;
  if (phrase.find(": wished ") != std::string::npos) return kStoreys;
  return kCounts;
}

bool Meets(const TypedBuilding& typed, GoalKind kind) {
  return std::none_of(typed.unmet.begin(), typed.unmet.end(),
                      [&](const std::string& phrase) { return KindOf(phrase) == kind; });
}

// Random outlines, scaled 1 to 3, with 1 to 3 storeys, variance 0, 30 and
// 60, room size 20, design seeds spread over the generator's range (small
// seeds draw the same first room size, which at variance 30 is below zero
// and makes the whole storey one room), some stopped partway, under both built-in programmes.
TEST(ProgrammeLaw, HardRulesHoldAndCountsAreMostlyMet) {
  const Programme programmes[] = {*GetBuiltinProgramme("house"), *GetBuiltinProgramme("office")};
  int cases = 0;
  int rated[2] = {0, 0};
  int met[2][kGoalKinds] = {};
  for (unsigned seed = 0; seed < 30; ++seed) {
    const CPolygon2 outline = Scaled(test::RandomOutline(seed), 1 + static_cast<int>(seed % 3));
    const std::uint32_t budget = seed % 5 == 4 ? 40 + seed : STEP_BUDGET_UNLIMITED;
    for (std::uint32_t storeys = 1; storeys <= 3; ++storeys) {
      for (const std::uint32_t variance : {0u, 30u, 60u}) {
        const TList<CFloor> floors = Generate(outline, storeys, variance, 20, static_cast<int>(seed * 7919), budget);
        const FinishedBuilding finished = FinishBuilding(floors);
        int rooms = 0;
        for (int k = 0; k < floors.GetSize(); ++k) {
          if (finished.complete[static_cast<std::size_t>(k)]) rooms += floors[k].rooms.GetSize();
        }
        for (int p = 0; p < 2; ++p) {
          SCOPED_TRACE(testing::Message() << "outline " << outline << " storeys " << storeys
                                          << " variance " << variance << " budget " << budget
                                          << " programme " << programmes[p].name);
          const TypedBuilding typed = ApplyProgramme(floors, finished, programmes[p], 1.0f);
          ExpectHardRules(floors, finished, programmes[p], typed, 1.0f);
          ++cases;
          if (variance == 30 && rooms >= 8) {
            ++rated[p];
            for (int kind = 0; kind < kGoalKinds; ++kind) {
              met[p][kind] += Meets(typed, static_cast<GoalKind>(kind)) ? 1 : 0;
            }
          }
        }
      }
    }
  }
  for (int p = 0; p < 2; ++p) {
    std::cout << programmes[p].name << ", of " << rated[p]
              << " buildings with 8 or more rooms at variance 30, met all";
    for (int kind = 0; kind < kGoalKinds; ++kind) {
      std::cout << (kind == 0 ? " " : ", ") << kGoalKindNames[kind] << " in " << met[p][kind];
    }
    std::cout << '\n';
    EXPECT_GE(rated[p], 20) << programmes[p].name;
    EXPECT_GE(met[p][kCounts] * 10, rated[p] * 9) << programmes[p].name;
  }
  std::cout << cases << " cases\n";
}

}  // namespace
}  // namespace quarn
