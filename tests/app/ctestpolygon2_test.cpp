#include "app/ctestpolygon2.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_script.h"
#include "support/assert_recorder.h"
#include "support/file_size_limit.h"

namespace {

using quarn::test::Drag;
using quarn::test::Frame;
using quarn::test::Key;
using quarn::test::Move;
using quarn::test::Points;
using quarn::test::PointsOf;

std::vector<Points> PolygonsOf(const CTestPolygon2& bench) {
  std::vector<Points> polygons;
  for (int i = 0; i < bench.GetPolygons().GetSize(); ++i) {
    polygons.push_back(PointsOf(bench.GetPolygons()[i]));
  }
  return polygons;
}

// The L shape drawn clockwise from (0,0), closed by SPACE on (0,0). Each move
// lies on the one axis that follows the pointer at that point.
const std::vector<Frame> kDrawL = {Key(' '),    Move(0, 2),  Key(' '),   Move(1, 0), Key(' '),
                                   Move(0, -1), Key(' '),    Move(1, 0), Key(' '),   Move(0, -1),
                                   Key(' '),    Move(-2, 0), Key(' ')};
const Points kL = {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}};

class CTestPolygon2Test : public quarn::test::BenchTest<CTestPolygon2> {
 protected:
  std::filesystem::path folder;

  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("quarn-polygon-bench-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    bench.SetPolygonFile(PolyFile().string());
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path PolyFile() const { return folder / "poly.txt"; }

  void Play(const std::vector<Frame>& frames) {
    for (const Frame& frame : frames) script.Step(bench, frame);
  }

  void WriteFile(const std::string& text) const { std::ofstream(PolyFile()) << text; }
  std::string ReadFile() const {
    std::ifstream file(PolyFile());
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
};

TEST_F(CTestPolygon2Test, EnterPrintsTheHelpAndResets) {
  Play(kDrawL);
  script.Step(bench, Key('E'));
  bench.Enter();
  EXPECT_EQ(Printed(),
            "\n======== 2D BOX TESTING MODE ========\n"
            "  SPACE = place the corner of a rectangle\n"
            "  R = reset all\n"
            "  O = output some info\n"
            "  M = delete last point\n"
            "  J = insert splits\n"
            "  K = remove splits\n"
            "  E = get extents\n"
            "  B = get as box list\n"
            "  S = save\n"
            "  L = load\n");
  EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}});
  EXPECT_FALSE(bench.GetExtents());
}

TEST_F(CTestPolygon2Test, InitAndResetKeyClearEverything) {
  for (char reset : {'I', 'R'}) {
    Play(kDrawL);
    script.Play(bench, {Key('E'), Key('B')});
    Play(kDrawL);
    if (reset == 'I') {
      bench.Init();
    } else {
      script.Step(bench, Key('R'));
    }
    EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}}) << reset;
    EXPECT_EQ(bench.GetBoxes().GetSize(), 0) << reset;
    EXPECT_FALSE(bench.GetExtents()) << reset;
  }
}

TEST_F(CTestPolygon2Test, AfterEachPointOnlyTheNextEdgesAxisFollowsThePointer) {
  script.Play(bench, {Drag(70, 40)});
  EXPECT_EQ(bench.GetCursor(), CPoint2(2, 1)) << "no point yet: both axes";
  script.Play(bench, {Key(' '), Drag(64, 64)});
  EXPECT_EQ(bench.GetCursor(), CPoint2(2, 3)) << "one point: y only";
  EXPECT_EQ(bench.GetDrag(), CPoint2(70, 104));
  script.Play(bench, {Key(' '), Drag(64, 64)});
  EXPECT_EQ(bench.GetCursor(), CPoint2(4, 3)) << "two points: x only";
  EXPECT_EQ(PolygonsOf(bench), (std::vector<Points>{{{2, 1}, {2, 3}}}));
}

TEST_F(CTestPolygon2Test, ClosingStoresTheLoopClockwiseAndStartsANewOne) {
  Play(kDrawL);
  EXPECT_EQ(PolygonsOf(bench), (std::vector<Points>{kL, {}}));
  // The same square drawn both ways round.
  Play({Key(' '), Move(0, 2), Key(' '), Move(-2, 0), Key(' '), Move(0, -2), Key(' '), Move(2, 0),
        Key(' ')});
  Play({Key(' '), Move(0, 2), Key(' '), Move(2, 0), Key(' '), Move(0, -2), Key(' '), Move(-2, 0),
        Key(' ')});
  EXPECT_EQ(PolygonsOf(bench),
            (std::vector<Points>{
                kL, {{-2, 0}, {-2, 2}, {0, 2}, {0, 0}}, {{0, 0}, {0, 2}, {2, 2}, {2, 0}}, {}}));
}

struct RefusedCase {
  const char* name;
  std::vector<Frame> frames;  // played after (0,0) (0,4) (4,4) (4,2)
  Points points;
};

TEST_F(CTestPolygon2Test, PointsThatRepeatOrCrossAreRefused) {
  const Points start = {{0, 0}, {0, 4}, {4, 4}, {4, 2}};
  const RefusedCase cases[] = {
      {"same point again", {Key(' ')}, start},
      {"crosses the first edge", {Move(-6, 0), Key(' ')}, start},
      {"ends on the first edge", {Move(-4, 0), Key(' ')}, start},
      {"stays inside", {Move(-2, 0), Key(' ')}, {{0, 0}, {0, 4}, {4, 4}, {4, 2}, {2, 2}}},
      {"goes outside", {Move(2, 0), Key(' ')}, {{0, 0}, {0, 4}, {4, 4}, {4, 2}, {6, 2}}},
  };
  for (const RefusedCase& c : cases) {
    bench.Enter();
    script.Step(bench, Move(-bench.GetCursor().x, -bench.GetCursor().y));
    Play({Key(' '), Move(0, 4), Key(' '), Move(4, 0), Key(' '), Move(0, -2), Key(' ')});
    ASSERT_EQ(PolygonsOf(bench), std::vector<Points>{start}) << c.name;
    Play(c.frames);
    EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{c.points}) << c.name;
  }
}

TEST_F(CTestPolygon2Test, MTakesTheCursorBackToTheNewLastPoint) {
  Play({Key(' '), Move(0, 2), Key(' '), Move(3, 0), Key(' '), Move(0, 1)});
  script.Step(bench, Key('M'));
  EXPECT_EQ(PolygonsOf(bench), (std::vector<Points>{{{0, 0}, {0, 2}}}));
  EXPECT_EQ(bench.GetCursor(), CPoint2(0, 2));
  EXPECT_EQ(bench.GetDrag(), CPoint2(0, 64));
  script.Play(bench, {Key('M'), Key('M')});
  EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}});
  EXPECT_EQ(bench.GetCursor(), CPoint2(0, 0));
  script.Play(bench, {Drag(100, 100), Key('M')});
  EXPECT_EQ(bench.GetCursor(), CPoint2(0, 0));
  EXPECT_EQ(bench.GetDrag(), CPoint2(0, 0));
}

TEST_F(CTestPolygon2Test, SplitsAreInsertedAndRemovedOnPolygonZero) {
  Play(kDrawL);
  script.Step(bench, Key('J'));
  EXPECT_EQ(PolygonsOf(bench)[0],
            (Points{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}, {1, 0}}));
  script.Step(bench, Key('K'));
  EXPECT_EQ(PolygonsOf(bench)[0], kL);
}

TEST_F(CTestPolygon2Test, BTurnsPolygonZeroIntoBoxes) {
  script.Step(bench, Key('B'));
  EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}}) << "the polygon being drawn stays";
  Play(kDrawL);
  script.Step(bench, Key('B'));
  ASSERT_EQ(bench.GetBoxes().GetSize(), 2);
  EXPECT_EQ(bench.GetBoxes()[0], CBox2({0, 1}, {1, 2}));
  EXPECT_EQ(bench.GetBoxes()[1], CBox2({0, 0}, {2, 1}));
  EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}});
  Printed();
  script.Step(bench, Key('O'));
  EXPECT_EQ(Printed(), "1 polygons.\nsizes are:  0\nnumber of boxes in boxlist = 2\n\n");
}

TEST_F(CTestPolygon2Test, ETogglesTheExtentsOfPolygonZero) {
  Play(kDrawL);
  script.Step(bench, Key('E'));
  EXPECT_EQ(bench.GetExtents(), CBox2({0, 0}, {2, 2}));
  script.Step(bench, Key('E'));
  EXPECT_FALSE(bench.GetExtents());
}

// Polygon 0 without points, or with points on one line, spans no box.
TEST_F(CTestPolygon2Test, EWithoutExtentsShowsNone) {
  quarn::test::CountingAssertions assertions;
  script.Step(bench, Key('E'));
  EXPECT_FALSE(bench.GetExtents()) << "no points";
  Play({Key(' '), Move(0, 3), Key(' '), Key('E')});
  EXPECT_FALSE(bench.GetExtents()) << "a vertical line";
  EXPECT_EQ(assertions.Count(), 0);
}

TEST_F(CTestPolygon2Test, OutputCountsPolygonsPointsAndBoxes) {
  Play(kDrawL);
  Play({Key(' '), Move(0, 1), Key(' ')});
  Printed();
  script.Step(bench, Key('O'));
  EXPECT_EQ(Printed(), "2 polygons.\nsizes are:  6  2\nnumber of boxes in boxlist = 0\n\n");
}

TEST_F(CTestPolygon2Test, SaveWritesPolygonZeroAndLoadReadsItBack) {
  Play(kDrawL);
  script.Step(bench, Key('S'));
  EXPECT_EQ(ReadFile(), "(0,0)(0,2)(1,2)(1,1)(2,1)(2,0)*\n");
  script.Step(bench, Key('R'));
  script.Step(bench, Key('L'));
  EXPECT_EQ(PolygonsOf(bench), (std::vector<Points>{kL, {}}));
  EXPECT_FALSE(std::filesystem::exists(PolyFile().string() + ".tmp"));
}

TEST_F(CTestPolygon2Test, SaveNeedsAClosedPolygon) {
  Play({Key(' '), Move(0, 2), Key(' '), Key('S')});
  EXPECT_FALSE(std::filesystem::exists(PolyFile()));
}

TEST_F(CTestPolygon2Test, SaveReplacesTheWholeFile) {
  WriteFile("(0,0)(0,9)(9,9)(9,0)(5,0)(5,5)(1,5)(1,0)*\nsecond line\n");
  Play({Key(' '), Move(0, 1), Key(' '), Move(1, 0), Key(' '), Move(0, -1), Key(' '), Move(-1, 0),
        Key(' '), Key('S')});
  EXPECT_EQ(ReadFile(), "(0,0)(0,1)(1,1)(1,0)*\n");
}

// A save that cannot be written (here: no room for the file) leaves the
// earlier file as it was and no temporary, and says why.
TEST_F(CTestPolygon2Test, FailedSaveKeepsTheOldFile) {
  WriteFile("(0,0)(0,1)(1,1)(1,0)*\n");
  Play(kDrawL);
  const std::size_t printedBefore = Printed().size();
  {
    const quarn::test::FileSizeLimit full(8);
    script.Step(bench, Key('S'));
  }
  EXPECT_EQ(ReadFile(), "(0,0)(0,1)(1,1)(1,0)*\n");
  EXPECT_EQ(Printed().substr(printedBefore), "Could not save " + PolyFile().string() +
                                                 ": cannot write '" + PolyFile().string() +
                                                 "': File too large\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

struct LoadCase {
  const char* name;
  const char* text;  // the file's contents; null: no file
  Points polygon0;
};

TEST_F(CTestPolygon2Test, LoadKeepsWhatTheReaderReadAndNeverFails) {
  const LoadCase cases[] = {
      {"no file", nullptr, {}},
      {"empty file", "", {}},
      {"not a polygon", "garbage\n", {}},
      {"cut short", "(0,0)(0,2)(1", {{0, 0}, {0, 2}}},
      {"only the first line",
       "(0,0)(0,1)(1,1)(1,0)*\n(5,5)(5,6)*\n",
       {{0, 0}, {0, 1}, {1, 1}, {1, 0}}},
      {"other separators", "[3;4]{5:6}*", {{3, 4}, {5, 6}}},
      {"coordinate too large", "(0,0)(99999,1)(2,2)*", {{0, 0}}},
      {"repeated point", "(1,1)(1,1)(1,1)(1,1)*", {{1, 1}, {1, 1}, {1, 1}, {1, 1}}},
      {"diagonal", "(0,0)(3,3)(0,3)(3,0)*", {{0, 0}, {3, 3}, {0, 3}, {3, 0}}},
      {"counter-clockwise", "(0,0)(2,0)(2,2)(0,2)*", {{0, 0}, {2, 0}, {2, 2}, {0, 2}}},
  };
  quarn::test::CountingAssertions assertions;
  for (const LoadCase& c : cases) {
    std::filesystem::remove(PolyFile());
    if (c.text) WriteFile(c.text);
    bench.Enter();
    Play(kDrawL);
    script.Step(bench, Key('L'));
    EXPECT_EQ(PolygonsOf(bench), (std::vector<Points>{c.polygon0, {}})) << c.name;
    // Whatever was loaded, every key that works on polygon 0 copes with it.
    for (char key : {'J', 'K', 'E', 'O', 'S', 'B', 'E', 'O'}) script.Step(bench, Key(key));
    EXPECT_EQ(PolygonsOf(bench), std::vector<Points>{{}}) << c.name;
  }
}

}  // namespace
