#include "generate.h"
#include "random_skyline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "geom/outlinecheck.h"
#include "support/assert_recorder.h"

namespace quarn {
namespace {

using Json = nlohmann::ordered_json;

TList<CPolygon2> LoopsOf(const std::string& text) {
  std::istringstream in(text);
  OutlineFile file = ReadOutlineFile(in);
  EXPECT_TRUE(file.IsValid()) << file.problem;
  return file.loops;
}

const char kLShape[] = "(0,30)(15,30)(15,15)(30,15)(30,0)(0,0)*\n";
const char kCourtyard[] = "(0,30)(12,30)(12,10)(28,10)(28,30)(40,30)(40,0)(0,0)*\n";

struct Run {
  Json dump;
  std::vector<std::string> trace;  // lines
};

Run Generate(const std::string& outline, const GenerationSettings& settings) {
  std::ostringstream dump;
  std::ostringstream trace;
  TextTraceObserver observer(trace);
  GeneratePlans(LoopsOf(outline), settings, dump, observer);
  Run run;
  run.dump = Json::parse(dump.str());
  std::istringstream lines(trace.str());
  for (std::string line; std::getline(lines, line);) run.trace.push_back(line);
  return run;
}

std::vector<std::string> Keys(const Json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

// The score as the trace writes it: default stream formatting.
std::string TraceText(float score) {
  std::ostringstream out;
  out << score;
  return out.str();
}

// Version 1 is the design alone; version 2 keeps its keys in their order
// and adds the finished ones after them, version 3 the typed ones after
// those.
TEST(GeneratePlansTest, WritesTheKeysInContractOrder) {
  for (const int version : {1, 2, 3}) {
    SCOPED_TRACE(version);
    const bool finished = version > 1;
    GenerationSettings settings;
    settings.steps = 3;
    if (!finished) settings.finish.reset();
    if (version == 3) settings.programme = GetBuiltinProgramme("house");
    const Json dump = Generate(kLShape, settings).dump;
    EXPECT_EQ(Keys(dump), (std::vector<std::string>{"format", "version", "steps", "buildings"}));
    EXPECT_EQ(dump["format"], "quarn-plan");
    EXPECT_EQ(dump["version"], version);
    EXPECT_EQ(dump["steps"], 3);
    const Json& building = dump["buildings"][0];
    std::vector<std::string> buildingKeys = {"outline", "spec", "floors"};
    std::vector<std::string> roomKeys = {"outline", "wallOutline", "complete"};
    if (finished) {
      buildingKeys.insert(buildingKeys.end(), {"entrance", "stairs"});
      roomKeys.insert(roomKeys.end(), {"storey", "doors", "fromEntrance"});
    }
    std::vector<std::string> wallKeys = {"edge", "rooms", "solid", "pieces"};
    if (version == 3) {
      buildingKeys.insert(buildingKeys.end(), {"programme", "furniture", "unfurnished"});
      roomKeys.insert(roomKeys.end(), {"type", "name", "reachable", "pathLength"});
      wallKeys.push_back("opening");
      EXPECT_EQ(Keys(dump["buildings"][0]["programme"]), (std::vector<std::string>{"name", "unmet"}));
    }
    EXPECT_EQ(Keys(building), buildingKeys);
    EXPECT_EQ(Keys(building["spec"]),
              (std::vector<std::string>{"storeys", "roomSize", "roomSizeVariance", "maxRoomSize"}));
    const Json& floor = building["floors"][0];
    EXPECT_EQ(Keys(floor),
              (std::vector<std::string>{"rooms", "pendingRegions", "candidates", "walls", "slabs"}));
    EXPECT_EQ(Keys(floor["rooms"][0]), roomKeys);
    EXPECT_EQ(Keys(floor["candidates"][0]), (std::vector<std::string>{"box", "score"}));
    EXPECT_EQ(Keys(floor["walls"][0]), wallKeys);
  }
}

// Furniture adds its two keys after the programme's and changes nothing
// else but the walking paths it stands in the way of: --furniture none gives
// the typed dump without them.
TEST(GeneratePlansTest, FurnitureNoneDropsOnlyTheFurnitureKeys) {
  GenerationSettings settings;
  settings.storeys = 2;
  settings.programme = GetBuiltinProgramme("house");
  Json with = Generate(kLShape, settings).dump;
  settings.furniture.reset();
  const Json without = Generate(kLShape, settings).dump;
  Json& building = with["buildings"][0];
  ASSERT_FALSE(building["furniture"].empty());
  EXPECT_EQ(Keys(building["furniture"][0]),
            (std::vector<std::string>{"kind", "room", "storey", "footprint", "facing", "boxes"}));
  EXPECT_TRUE(building["unfurnished"].is_array());
  building.erase("furniture");
  building.erase("unfurnished");
  Json withoutPaths = without;
  for (Json* dump : {&with, &withoutPaths}) {
    for (Json& floor : (*dump)["buildings"][0]["floors"]) {
      for (Json& room : floor["rooms"]) room.erase("pathLength");
    }
  }
  EXPECT_EQ(with, withoutPaths);
}

// The finished dump, less its new keys, is the design's dump but for the
// entrance wall's pieces and the slabs of the rooms a stair arrives in.
TEST(GeneratePlansTest, FinishedDumpDiffersFromTheDesignOnlyInItsOpenings) {
  for (const char* outline : {kLShape, kCourtyard}) {
    for (const std::uint32_t storeys : {1u, 3u}) {
      for (const std::uint32_t variance : {0u, 60u}) {
        SCOPED_TRACE(testing::Message() << outline << " storeys " << storeys << " variance " << variance);
        GenerationSettings settings;
        settings.storeys = storeys;
        settings.roomSizeVariance = variance;
        Json finished = Generate(outline, settings).dump;
        settings.finish.reset();
        const Json design = Generate(outline, settings).dump;
        Json& building = finished["buildings"][0];
        std::vector<std::string> expected;
        if (!building["entrance"].is_null()) {
          expected.push_back("/buildings/0/floors/0/walls/" + building["entrance"]["wall"].dump() +
                             "/pieces");
        }
        for (const Json& stair : building["stairs"]) {
          if (stair["rooms"].is_null()) continue;
          expected.push_back("/buildings/0/floors/" + stair["storeys"][1].dump() + "/slabs/" +
                             stair["rooms"][1].dump());
        }
        EXPECT_EQ(expected.size(), storeys) << "an entrance and every stair";
        finished["version"] = 1;
        building.erase("entrance");
        building.erase("stairs");
        for (Json& floor : building["floors"]) {
          for (Json& room : floor["rooms"]) {
            for (const char* key : {"storey", "doors", "fromEntrance"}) room.erase(key);
          }
        }
        std::vector<std::string> changed;
        for (const Json& operation : Json::diff(design, finished)) {
          const std::string path = operation["path"];
          bool known = false;
          for (const std::string& prefix : expected) {
            known |= path.starts_with(prefix + "/") || path == prefix;
          }
          if (!known) changed.push_back(path);
        }
        EXPECT_EQ(changed, std::vector<std::string>{});
      }
    }
  }
}

struct SettingsCase {
  const char* name;
  GenerationSettings settings;
  Json steps;
  std::uint32_t maxRoomSize;
  int floors;
};

void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }

class GenerationSettingsTest : public testing::TestWithParam<SettingsCase> {};

TEST_P(GenerationSettingsTest, ReachTheSpecAndTheBudget) {
  const SettingsCase& c = GetParam();
  const Json dump = Generate(kLShape, c.settings).dump;
  EXPECT_EQ(dump["steps"], c.steps);
  const Json spec = {{"storeys", c.settings.storeys},
                     {"roomSize", c.settings.roomSize},
                     {"roomSizeVariance", c.settings.roomSizeVariance},
                     {"maxRoomSize", c.maxRoomSize}};
  EXPECT_EQ(dump["buildings"][0]["spec"], spec);
  EXPECT_EQ(dump["buildings"][0]["floors"].size(), static_cast<std::size_t>(c.floors));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GenerationSettingsTest,
    testing::Values(SettingsCase{"Defaults", {}, "all", 45, 1},
                    SettingsCase{
                        "ThreeStoreysSmallRooms", {STEP_BUDGET_UNLIMITED, 3, 10, 30}, "all", 40, 3},
                    SettingsCase{"BudgetEndsInTheFirstStorey", {5, 3, 0, 45}, 5, 45, 1},
                    SettingsCase{"NoBudgetStillMakesOneStorey", {0, 3, 0, 45}, 0, 45, 1}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });

// The dump and the trace come from one run: every design step opens with a
// marker line and makes one room; a step the budget cut short lists every
// candidate's score, and the non-zero ones are the dump's candidates, in the
// same order.
void ExpectTraceMatchesDump(const std::string& outline, std::uint32_t steps) {
  GenerationSettings settings;
  settings.steps = steps;
  const Run run = Generate(outline, settings);
  const Json& floor = run.dump["buildings"][0]["floors"][0];
  std::size_t markers = 0;
  std::vector<std::string> lastScores;
  bool stoppedWithCandidates = false;
  for (std::size_t i = 0; i < run.trace.size(); ++i) {
    if (run.trace[i] == "=============") {
      ++markers;
      lastScores.clear();
      stoppedWithCandidates = false;
    } else if (run.trace[i] == "---") {
      stoppedWithCandidates = true;
    } else if (!run.trace[i].empty() && run.trace[i] != "ROOM COMPLETE" && run.trace[i] != "0") {
      lastScores.push_back(run.trace[i]);
    }
  }
  ASSERT_EQ(markers, floor["rooms"].size());
  std::vector<std::string> dumped;
  for (const Json& candidate : floor["candidates"]) {
    dumped.push_back(TraceText(candidate["score"].get<float>()));
  }
  EXPECT_EQ(dumped, stoppedWithCandidates ? lastScores : std::vector<std::string>{});
  for (std::size_t r = 0; r < floor["rooms"].size(); ++r) {
    const bool last = r + 1 == floor["rooms"].size();
    EXPECT_EQ(floor["rooms"][r]["complete"], !(last && !dumped.empty())) << "room " << r;
  }
}

TEST(GeneratePlansTest, TraceAndDumpAgreeAtEveryBudget) {
  for (const char* outline : {kLShape, kCourtyard}) {
    for (std::uint32_t steps = 0; steps <= 40; ++steps) {
      SCOPED_TRACE(std::string(outline) + " steps " + std::to_string(steps));
      ExpectTraceMatchesDump(outline, steps);
    }
    ExpectTraceMatchesDump(outline, STEP_BUDGET_UNLIMITED);
  }
}

// Floats pass through nine significant digits and come back unchanged.
TEST(GeneratePlansTest, DumpedBoxesReadBackAsTheModelsFloats) {
  GenerationSettings settings;
  settings.steps = 7;
  const TList<CPolygon2> loops = LoopsOf(kCourtyard);
  std::ostringstream dump;
  DesignObserver silent;
  GeneratePlans(loops, settings, dump, silent);
  const Json floorDump = Json::parse(dump.str())["buildings"][0]["floors"][0];

  const CFloorSpec spec(loops[0], 1, 0, 45);
  const CBuilding building(spec, 7);
  const CFloor& floor = building.floors[0];
  ASSERT_EQ(floorDump["walls"].size(), static_cast<std::size_t>(floor.walls.GetSize()));
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const CBox3 solid = floor.walls[w].GetSolidBox();
    const std::vector<float> expected = {solid.GetMin().x, solid.GetMin().y, solid.GetMin().z,
                                         solid.GetMax().x, solid.GetMax().y, solid.GetMax().z};
    EXPECT_EQ(floorDump["walls"][w]["solid"].get<std::vector<float>>(), expected) << "wall " << w;
  }
  ASSERT_EQ(floorDump["candidates"].size(),
            static_cast<std::size_t>(floor.candidateScores.GetSize()));
  for (int c = 0; c < floor.candidateScores.GetSize(); ++c) {
    EXPECT_EQ(floorDump["candidates"][c]["score"].get<float>(), floor.candidateScores[c]);
  }
}

TEST(GeneratePlansTest, EachLoopIsItsOwnBuildingInFileOrder) {
  const Json dump =
      Generate(std::string(kLShape) + "(0,15)(15,15)(15,0)(0,0)*\n" + kLShape, {}).dump;
  ASSERT_EQ(dump["buildings"].size(), 3u);
  EXPECT_EQ(dump["buildings"][1]["outline"], Json::parse("[[0,15],[15,15],[15,0],[0,0]]"));
  // Every building seeds its own design, so equal loops give equal buildings.
  EXPECT_EQ(dump["buildings"][0], dump["buildings"][2]);
}

float SlabArea(const CFloor& floor) {
  float area = 0.0f;
  for (int r = 0; r < floor.slabs.GetSize(); ++r) {
    for (int b = 0; b < floor.slabs[r].GetSize(); ++b) {
      const CVector3 size = floor.slabs[r][b].GetMax() - floor.slabs[r][b].GetMin();
      area += size.x * size.y;
    }
  }
  return area;
}

float EnclosedArea(const CPolygon2& loop) {
  long long twice = 0;
  for (int i = 0; i < loop.GetSize(); ++i) {
    const CPoint2& a = loop[i];
    const CPoint2& b = loop[loop.GetNext(i)];
    twice += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  return static_cast<float>(std::llabs(twice)) / 2.0f;
}

// Every outline the check accepts generates without a failed assertion, and
// the rooms cover exactly its area.
TEST(GeneratePlansTest, AcceptedOutlinesGenerateCleanly) {
  std::mt19937 random(20261208);
  for (int i = 0; i < 40; ++i) {
    const CPolygon2 loop = test::RandomSkyline(random);
    std::ostringstream text;
    text << loop;
    SCOPED_TRACE(text.str());
    ASSERT_EQ(CheckOutline(loop).problem, "");
    test::CountingAssertions assertions;
    const CBuilding building(CFloorSpec(loop, 1, 0, 45), STEP_BUDGET_UNLIMITED);
    EXPECT_EQ(assertions.Count(), 0) << assertions.LastUnit();
    EXPECT_EQ(SlabArea(building.floors[0]), EnclosedArea(loop));
  }
}

}  // namespace
}  // namespace quarn
