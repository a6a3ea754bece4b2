#include "progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quarn {
namespace {

struct TapCase {
  const char* name;
  std::vector<std::string> writes;  // pieces written one after another
  int rooms;
};

void PrintTo(const TapCase& c, std::ostream* os) { *os << c.name; }

class TraceTapTest : public testing::TestWithParam<TapCase> {};

TEST_P(TraceTapTest, CountsDesignStepsAndPassesTheTraceOn) {
  const TapCase& c = GetParam();
  std::ostringstream target;
  int rooms = 0;
  TraceTap tap(target.rdbuf(), [&rooms] { ++rooms; });
  std::ostream trace(&tap);
  std::string all;
  for (const std::string& piece : c.writes) {
    trace << piece;
    all += piece;
  }
  trace.flush();
  EXPECT_EQ(rooms, c.rooms);
  EXPECT_EQ(target.str(), all);
}

INSTANTIATE_TEST_SUITE_P(
    Traces, TraceTapTest,
    testing::Values(
        TapCase{"CompleteRoom", {"\n=============\nROOM COMPLETE\n"}, 1},
        TapCase{"StoppedRoomWithScores", {"\n=============\n", "0.5", "\n", "\n---\n"}, 1},
        TapCase{"MarkerSplitAcrossWrites", {"\n======", "=======", "\n"}, 1},
        TapCase{"CharacterByCharacter",
                {"\n", "=", "=", "=", "=", "=", "=", "=", "=", "=", "=", "=", "=", "=", "\n"}, 1},
        TapCase{"ManySteps", {"\n=============\n\n=============\nROOM COMPLETE\n\n=============\n"},
                3},
        TapCase{"LongerRuleIsNoMarker", {"==============\n"}, 0},
        TapCase{"ShorterRuleIsNoMarker", {"============\n"}, 0},
        TapCase{"MarkerInsideALineIsNoMarker", {"x=============\n=============x\n"}, 0},
        TapCase{"UnfinishedLineIsNotYetAMarker", {"\n============="}, 0}),
    [](const testing::TestParamInfo<TapCase>& info) { return std::string(info.param.name); });

TEST(TraceTapTest, WithoutTargetCountsAndDrops) {
  int rooms = 0;
  TraceTap tap(nullptr, [&rooms] { ++rooms; });
  std::ostream trace(&tap);
  trace << "\n=============\n" << 0.25f << '\n';
  EXPECT_TRUE(trace.good());
  EXPECT_EQ(rooms, 1);
}

TEST(ProgressMeterTest, QuietWhenDisabledOrWithinTheFirstHalfSecond) {
  for (const bool enabled : {false, true}) {
    std::ostringstream out;
    ProgressMeter meter(out, enabled, 3);
    meter.StartBuilding(0);
    meter.AddRoom();
    meter.StartBuilding(1);
    meter.Finish();
    EXPECT_EQ(out.str(), "") << "enabled " << enabled;
  }
}

}  // namespace
}  // namespace quarn
