#include "progress.h"

#include "building/cbuilding.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quarn {
namespace {

// The metered observer hands the text trace every event unchanged.
TEST(MeteredObserverTest, PassesEveryDesignEventOn) {
  CPolygon2 square;
  for (const CPoint2& p : {CPoint2(0, 20), CPoint2(20, 20), CPoint2(20, 0), CPoint2(0, 0)}) {
    square.Add(p);
  }
  const CFloorSpec spec(square, 2, 0, 45);
  std::ostringstream direct;
  TextTraceObserver directTrace(direct);
  const CBuilding alone(spec, 1, directTrace);
  std::ostringstream passed;
  TextTraceObserver passedTrace(passed);
  std::ostringstream meterOut;
  ProgressMeter meter(meterOut, false, 1);
  MeteredObserver metered(passedTrace, meter);
  const CBuilding viaMeter(spec, 1, metered);
  EXPECT_NE(direct.str().find("---"), std::string::npos);
  EXPECT_EQ(passed.str(), direct.str());
  EXPECT_EQ(meterOut.str(), "");
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
