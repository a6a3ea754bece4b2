#include "geom/outlinecheck.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "geom/clattice2.h"
#include "outline_helpers.h"

namespace quarn {
namespace {

using Points = std::vector<std::pair<int, int>>;

CPolygon2 Loop(const Points& points) {
  CPolygon2 loop;
  for (const auto& [x, y] : points) loop.Add(CPoint2(x, y));
  return loop;
}

Points PointsOf(const CPolygon2& loop) {
  Points points;
  for (int i = 0; i < loop.GetSize(); ++i) points.emplace_back(loop[i].x, loop[i].y);
  return points;
}

std::vector<std::array<int, 4>> Corners(const CBox2List& boxes) {
  std::vector<std::array<int, 4>> corners;
  for (int i = 0; i < boxes.GetSize(); ++i) {
    const CBox2& b = boxes[i];
    corners.push_back({b.GetMin().x, b.GetMin().y, b.GetMax().x, b.GetMax().y});
  }
  return corners;
}

const Points kSquare = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

struct ParseCase {
  const char* name;
  std::string text;
  OutlineLine::Kind kind;
  Points loop;          // expected vertices when the kind is Loop
  std::string problem;  // expected message when the kind is Bad
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseOutlineLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseOutlineLineTest, ReadsLoopsAndNamesTheFirstProblem) {
  const ParseCase& c = GetParam();
  const OutlineLine line = ParseOutlineLine(c.text);
  EXPECT_EQ(line.kind, c.kind);
  EXPECT_EQ(PointsOf(line.loop), c.kind == OutlineLine::Kind::Loop ? c.loop : Points{});
  EXPECT_EQ(line.problem, c.problem);
}

using Kind = OutlineLine::Kind;

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseOutlineLineTest,
    testing::Values(
        ParseCase{"WrittenForm", "(0,1)(1,1)(1,0)(0,0)*", Kind::Loop, kSquare, ""},
        ParseCase{"BlanksAroundTokensAndCarriageReturn", " ( 0 , 1 )(1,1) (1,0)\t(0,0) * \r",
                  Kind::Loop, kSquare, ""},
        ParseCase{"SignedCoordinates", "(+3,-4)(-20000,20000)*", Kind::Loop,
                  {{3, -4}, {-20000, 20000}}, ""},
        ParseCase{"EmptyLine", "", Kind::Blank, {}, ""},
        ParseCase{"WhiteSpaceOnly", " \t\r", Kind::Blank, {}, ""},
        ParseCase{"EmptyLoopOfTheEditor", "*", Kind::Blank, {}, ""},
        ParseCase{"MissingStar", "(0,1)(1,1)", Kind::Bad, {},
                  "expected '(' or the closing '*' at column 11, found the end of the line"},
        ParseCase{"OtherBracket", "[0,1]*", Kind::Bad, {},
                  "expected '(' or the closing '*' at column 1, found '['"},
        ParseCase{"OtherSeparator", "(0;1)*", Kind::Bad, {}, "expected ',' at column 3, found ';'"},
        ParseCase{"UnclosedVertex", "(0,1*", Kind::Bad, {}, "expected ')' at column 5, found '*'"},
        ParseCase{"NotANumber", "(a,1)*", Kind::Bad, {},
                  "expected a whole number at column 2, found 'a'"},
        ParseCase{"SignWithoutDigits", "(0,-)*", Kind::Bad, {},
                  "expected a whole number at column 4, found '-'"},
        ParseCase{"FractionalCoordinate", "(0.5,1)*", Kind::Bad, {},
                  "expected ',' at column 3, found '.'"},
        ParseCase{"TextAfterTheStar", "(0,1)*(1,1)*", Kind::Bad, {},
                  "expected the end of the line after '*' at column 7, found '('"},
        ParseCase{"ControlCharacterIsNotPrinted", std::string("(0,1\x01)*"), Kind::Bad, {},
                  "expected ')' at column 5, found byte 1"},
        ParseCase{"CoordinateJustBeyondTheLimit", "(0,1)(20001,1)*", Kind::Bad, {},
                  "coordinate 20001 at column 7 lies beyond the limit of 20000"},
        ParseCase{"NegativeCoordinateBeyondTheLimit", "(0,-20001)*", Kind::Bad, {},
                  "coordinate -20001 at column 4 lies beyond the limit of 20000"},
        ParseCase{"DigitsBeyondAnyInteger", "(123456789012345678901234567890,0)*", Kind::Bad, {},
                  "coordinate 1234567890123456... at column 2 lies beyond the limit of 20000"}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

struct CheckCase {
  const char* name;
  Points loop;
  std::string problem;  // empty: the loop is valid
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class CheckOutlineTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckOutlineTest, AcceptsSimpleRectilinearLoopsOnly) {
  EXPECT_EQ(CheckOutline(Loop(GetParam().loop)).problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Loops, CheckOutlineTest,
    testing::Values(
        CheckCase{"ClockwiseSquare", kSquare, ""},
        CheckCase{"CounterClockwiseSquare", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, ""},
        CheckCase{"LShape", {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}}, ""},
        CheckCase{"Arch", {{0, 0}, {0, 2}, {3, 2}, {3, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 0}}, ""},
        CheckCase{"VertexInsideAStraightRun", {{0, 0}, {0, 3}, {0, 5}, {5, 5}, {5, 0}}, ""},
        CheckCase{"StartsInsideAStraightRun", {{2, 5}, {5, 5}, {5, 0}, {0, 0}, {0, 5}}, ""},
        CheckCase{"SquareAtTheCoordinateLimit",
                  {{-20000, 20000}, {20000, 20000}, {20000, -20000}, {-20000, -20000}}, ""},
        CheckCase{"Empty", {}, "a loop needs at least 4 vertices, this one has 0"},
        CheckCase{"ThreeVertices", {{0, 0}, {0, 5}, {5, 5}},
                  "a loop needs at least 4 vertices, this one has 3"},
        CheckCase{"BeyondTheLimit", {{0, 0}, {0, 20001}, {5, 20001}, {5, 0}},
                  "vertex (0,20001) lies beyond the coordinate limit of 20000"},
        CheckCase{"RepeatedVertex", {{0, 0}, {0, 5}, {0, 5}, {5, 5}, {5, 0}},
                  "edge (0,5)-(0,5) has zero length"},
        CheckCase{"FirstVertexRepeatedAtTheEnd", {{0, 5}, {5, 5}, {5, 0}, {0, 0}, {0, 5}},
                  "edge (0,5)-(0,5) has zero length"},
        CheckCase{"DiagonalEdge", {{0, 0}, {0, 5}, {5, 5}, {6, 0}},
                  "edge (5,5)-(6,0) is neither horizontal nor vertical"},
        CheckCase{"Spike", {{0, 0}, {0, 7}, {0, 5}, {5, 5}, {5, 0}},
                  "edges (0,0)-(0,7) and (0,7)-(0,5) run back over each other"},
        CheckCase{"SpikeOnTheClosingEdge", {{0, 5}, {5, 5}, {5, 0}, {0, 0}, {0, 7}},
                  "edges (0,0)-(0,7) and (0,7)-(0,5) run back over each other"},
        CheckCase{"FlatLoop", {{0, 0}, {0, 1}, {0, 2}, {0, 3}},
                  "edges (0,2)-(0,3) and (0,3)-(0,0) run back over each other"},
        CheckCase{"EdgesCross", {{0, 0}, {0, 4}, {4, 4}, {4, 2}, {-2, 2}, {-2, 0}},
                  "edges (0,0)-(0,4) and (4,2)-(-2,2) cross or touch at (0,2)"},
        CheckCase{"LoopsTouchAtACorner",
                  {{0, 0}, {0, 2}, {2, 2}, {2, 4}, {4, 4}, {4, 2}, {2, 2}, {2, 0}},
                  "edges (0,2)-(2,2) and (4,2)-(2,2) cross or touch at (2,2)"},
        CheckCase{"VertexOnAnotherEdge", {{0, 0}, {0, 4}, {4, 4}, {4, 0}, {2, 0}, {2, 4}, {1, 4},
                                          {1, 0}},
                  "edges (0,4)-(4,4) and (2,0)-(2,4) cross or touch at (2,4)"},
        CheckCase{"CollinearEdgesOverlap",
                  {{0, 0}, {0, 2}, {3, 2}, {3, 4}, {4, 4}, {4, 2}, {1, 2}, {1, -1}, {-1, -1},
                   {-1, 0}},
                  "edges (0,2)-(3,2) and (4,2)-(1,2) cross or touch at (1,2)"}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

struct FileCase {
  const char* name;
  std::string text;
  std::vector<Points> loops;  // expected loops, clockwise
  int problemLine;
  std::string problem;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ReadOutlineFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(ReadOutlineFileTest, ReadsEveryLoopOrTheFirstProblem) {
  const FileCase& c = GetParam();
  std::istringstream in(c.text);
  const OutlineFile file = ReadOutlineFile(in);
  std::vector<Points> loops;
  for (int i = 0; i < file.loops.GetSize(); ++i) loops.push_back(PointsOf(file.loops[i]));
  EXPECT_EQ(loops, c.loops);
  EXPECT_EQ(file.problemLine, c.problemLine);
  EXPECT_EQ(file.problem, c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadOutlineFileTest,
    testing::Values(
        FileCase{"OneLoop", "(0,1)(1,1)(1,0)(0,0)*\n", {kSquare}, 0, ""},
        FileCase{"NoFinalLineEnd", "(0,1)(1,1)(1,0)(0,0)*", {kSquare}, 0, ""},
        FileCase{"SavedByTheEditor", "(0,1)(1,1)(1,0)(0,0)*\n*\n", {kSquare}, 0, ""},
        FileCase{"CounterClockwiseIsReversed",
                 "(0,0)(1,0)(1,1)(0,1)*\n",
                 {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}},
                 0,
                 ""},
        FileCase{"LoopsInFileOrderAcrossBlankLines",
                 "\n(0,1)(1,1)(1,0)(0,0)*\r\n\r\n  \n(5,5)(5,9)(9,9)(9,5)*\n",
                 {kSquare, {{5, 5}, {5, 9}, {9, 9}, {9, 5}}},
                 0,
                 ""},
        FileCase{"OverlappingLoopsAreSeparateBuildings",
                 "(0,4)(4,4)(4,0)(0,0)*\n(2,6)(6,6)(6,2)(2,2)*\n",
                 {{{0, 4}, {4, 4}, {4, 0}, {0, 0}}, {{2, 6}, {6, 6}, {6, 2}, {2, 2}}},
                 0,
                 ""},
        FileCase{"Empty", "", {}, 0, "no outline loop found"},
        FileCase{"OnlyEmptyLoops", "*\n\n*\n", {}, 0, "no outline loop found"},
        FileCase{"NotThePolygonForm", "(0,1)(1,1)(1,0)(0,0)*\n\nhello\n", {}, 3,
                 "expected '(' or the closing '*' at column 1, found 'h'"},
        FileCase{"BadShapeAfterAGoodLoop", "(0,1)(1,1)(1,0)(0,0)*\n(0,0)(0,1)(1,1)*\n", {}, 2,
                 "a loop needs at least 4 vertices, this one has 3"}),
    [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

// Vertices inside a straight run are accepted because the decomposition the
// generator starts from removes them: the boxes are those of the plain loop.
TEST(OutlineCheckTest, VertexInsideAStraightRunDoesNotChangeTheBoxes) {
  const CPolygon2 plain = Loop({{0, 15}, {15, 15}, {15, 0}, {0, 0}});
  const CPolygon2 split = Loop({{0, 15}, {7, 15}, {15, 15}, {15, 4}, {15, 0}, {0, 0}, {0, 9}});
  ASSERT_TRUE(CheckOutline(split).IsValid());
  EXPECT_EQ(Corners(split.GetAsBoxList()), Corners(plain.GetAsBoxList()));
}

// The count agrees with the lattice the floor designer builds, for random
// outlines stretched so that their boxes are cut on both axes, in either
// orientation.
TEST(CountOutlineCellsTest, EqualsTheSubdividedLatticeOfRandomOutlines) {
  std::mt19937 rng(1457);
  for (int round = 0; round < 80; ++round) {
    const test::CellSet cells = test::RandomCells(rng, 6, 6, 2 + round % 20);
    CPolygon2 outline = test::OutlineOf(cells, rng, 0.2);
    const int scaleX = 1 + round % 13;
    const int scaleY = 1 + round * 7 % 17;
    for (int i = 0; i < outline.GetSize(); ++i) {
      outline[i] = CPoint2(outline[i].x * scaleX - 40, outline[i].y * scaleY + 3);
    }
    SCOPED_TRACE(testing::Message() << "round " << round << " outline " << outline);
    CLattice2 lattice(outline);
    lattice.Subdivide(kCellMaxSize, kCellStep);
    EXPECT_EQ(CountOutlineCells(outline), static_cast<std::uint64_t>(lattice.GetSize()));
    outline.Reverse();
    EXPECT_EQ(CountOutlineCells(outline), static_cast<std::uint64_t>(lattice.GetSize()));
  }
}

// A strip 7 units wide is one cell across: height 7 + 5 (cells - 1) holds
// exactly that many cells.
CPolygon2 Strip(std::uint64_t cells) {
  const int height = 7 + 5 * static_cast<int>(cells - 1);
  return Loop({{0, height}, {7, height}, {7, 0}, {0, 0}});
}

TEST(CheckOutlineCellsTest, RefusesMoreCellsThanTheLimitAcrossAllLoops) {
  const std::uint64_t limit = kOutlineCellLimit;
  const CPolygon2 oneCell = Loop({{20, 7}, {27, 7}, {27, 0}, {20, 0}});
  const CPolygon2 largest =
      Loop({{-20000, 20000}, {20000, 20000}, {20000, -20000}, {-20000, -20000}});
  const std::string refusal = "the outline would have at least ";
  const std::string most = " cells; the designer takes at most " + std::to_string(limit);
  const struct {
    const char* name;
    std::vector<CPolygon2> loops;
    std::string problem;
  } cases[] = {
      {"AtTheLimit", {Strip(limit)}, ""},
      {"OneCellOver", {Strip(limit + 1)}, refusal + std::to_string(limit + 1) + most},
      {"LoopsAddUpToTheLimit", {Strip(limit - 1), oneCell}, ""},
      {"LoopsAddUpPastIt", {Strip(limit - 1), oneCell, oneCell},
       refusal + std::to_string(limit + 1) + most},
      // 64 million cells, refused by its area (1.6e9 / 49) without decomposing.
      {"LargestSquare", {largest}, refusal + "32653062" + most},
  };
  for (const auto& c : cases) {
    TList<CPolygon2> loops;
    for (const CPolygon2& loop : c.loops) loops.Add(loop);
    EXPECT_EQ(CheckOutlineCells(loops).problem, c.problem) << c.name;
  }
  EXPECT_EQ(CountOutlineCells(largest), 64'000'000u);
}

}  // namespace
}  // namespace quarn
