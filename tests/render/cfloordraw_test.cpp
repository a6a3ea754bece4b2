#include "render/cfloordraw.h"

#include <sstream>

#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "draw_expect.h"
#include "render/ctexturemanager.h"
#include "render/ctextureset.h"
#include "support/assert_recorder.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

CPolygon2 Square(int side) {
  CPolygon2 outline;
  for (const CPoint2& p : {CPoint2(0, side), CPoint2(side, side), CPoint2(side, 0), CPoint2(0, 0)})
    outline.Add(p);
  return outline;
}

class FloorDrawTest : public GlTest {
 protected:
  // The first storey of a square building of side units after budget steps.
  static CFloor FloorAfter(std::uint32_t budget, int side = 10) {
    const CBuilding building(CFloorSpec(Square(side), 1, 0, 45), budget);
    return building.floors[0];
  }
};

int PieceCount(const CFloor& floor) {
  int n = 0;
  for (int i = 0; i < floor.walls.GetSize(); ++i) n += floor.walls[i].pieces.GetSize();
  return n;
}

int SlabCount(const CFloor& floor) {
  int n = 0;
  for (int i = 0; i < floor.slabs.GetSize(); ++i) n += floor.slabs[i].GetSize();
  return n;
}

TEST_F(FloorDrawTest, DesignAtStepZeroShowsEveryCellInTheFirstShade) {
  const CFloor floor = FloorAfter(0);
  ASSERT_EQ(floor.pendingRegions.GetSize(), 1);
  const int cells = floor.pendingRegions[0].GetSize();
  const auto lines = CaptureFeedback([&] { DrawDesign(floor); });
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(4 * cells));
  for (const FeedbackPrimitive& line : lines) {
    EXPECT_EQ(line.token, static_cast<GLenum>(GL_LINE_TOKEN));
    ExpectColour(line.vertices[0], 3.0f / 7, 0, 0);
  }
}

TEST_F(FloorDrawTest, RegionsAsPrismsOfWallHeight) {
  const CFloor floor = FloorAfter(0);
  const CPolygon2 outline = floor.pendingRegions[0].GetAsPolygon();
  const std::size_t n = static_cast<std::size_t>(outline.GetSize());
  const auto primitives = CaptureFeedback([&] { DrawRegions(floor, false); });
  // Loop and points at 0, loop and points at 1.5, then the uprights.
  ASSERT_EQ(primitives.size(), 2 * (n + 1 + n) + n);
  const float levels[2] = {0.0f, 1.5f};
  for (std::size_t level = 0; level < 2; ++level) {
    const std::size_t start = level * (2 * n + 1);
    for (std::size_t i = 0; i < n; ++i) {
      const CPoint2 p = outline[static_cast<int>(i)];
      EXPECT_EQ(primitives[start + i].token, static_cast<GLenum>(GL_LINE_TOKEN));
      ExpectAt(primitives[start + i].vertices[0], {float(p.x), float(p.y), levels[level]});
    }
    EXPECT_EQ(primitives[start + n].token, static_cast<GLenum>(GL_POINT_TOKEN));
  }
  for (std::size_t i = 0; i < n; ++i) {
    const CPoint2 p = outline[static_cast<int>(i)];
    const FeedbackPrimitive& upright = primitives[2 * (2 * n + 1) + i];
    ExpectAt(upright.vertices[0], {float(p.x), float(p.y), 0});
    ExpectAt(upright.vertices[1], {float(p.x), float(p.y), 1.5f});
    ExpectColour(upright.vertices[0], 3.0f / 7, 0, 0);
  }
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 1.0f);
}

TEST_F(FloorDrawTest, CandidatesAreGreyAsBrightAsTheirScoreAtHalfOpacity) {
  const CFloor floor = FloorAfter(1);
  ASSERT_GT(floor.candidateBoxes.GetSize(), 0);
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawCandidates(floor); }));
  ASSERT_EQ(quads.size(), static_cast<std::size_t>(floor.candidateBoxes.GetSize()));
  for (std::size_t i = 0; i < quads.size(); ++i) {
    const float s = floor.candidateScores[static_cast<int>(i)];
    const CBox2& box = floor.candidateBoxes[static_cast<int>(i)];
    ExpectColour(quads[i][0], s, s, s, 0.5f);
    ExpectAt(quads[i][0], {float(box.GetMax().x), float(box.GetMax().y), 0});
  }
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(FloorDrawTest, CandidatesBlendOverWhatIsBehind) {
  CFloor floor = FloorAfter(1);
  floor.candidateBoxes.Clear();
  floor.candidateScores.Clear();
  floor.candidateBoxes.Add(CBox2({-50, -50}, {50, 50}));
  floor.candidateScores.Add(1.0f);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawCandidates(floor);
  const auto pixel = ReadPixel(kSize / 2, kSize / 2);
  EXPECT_NEAR(pixel[0], 128, 1);
  EXPECT_NEAR(pixel[1], 128, 1);
  EXPECT_EQ(pixel[2], 255);
}

TEST_F(FloorDrawTest, MismatchedCandidateListsAreReportedAndOnlyPairsDrawn) {
  CFloor floor = FloorAfter(1);
  const int pairs = floor.candidateBoxes.GetSize();
  floor.candidateBoxes.Add(CBox2({0, 0}, {1, 1}));
  CountingAssertions assertions;
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawCandidates(floor); }));
  EXPECT_EQ(assertions.Count(), 1);
  EXPECT_EQ(assertions.LastUnit(), "cfloor");
  EXPECT_EQ(quads.size(), static_cast<std::size_t>(pairs));
}

TEST_F(FloorDrawTest, RoomOutlinesAreGreyUntilCompleteThenInTheirPaletteColour) {
  const struct {
    std::uint32_t budget;
    bool complete;
  } cases[] = {{1, false}, {STEP_BUDGET_UNLIMITED, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.budget);
    const CFloor floor = FloorAfter(c.budget);
    ASSERT_GT(floor.rooms.GetSize(), 0);
    const auto regions = CaptureFeedback([&] { DrawRegions(floor, true); });
    const auto all = CaptureFeedback([&] { DrawDesign(floor); });
    const CPolygon2& outline = floor.rooms[0].wallOutline;
    const FeedbackPrimitive& first = all[regions.size()];
    ExpectAt(first.vertices[0], {float(outline[0].x), float(outline[0].y), 0});
    const CColour colour = c.complete ? Palette(0) : CColour(0.5f, 0.5f, 0.5f);
    ExpectColour(first.vertices[0], colour.r, colour.g, colour.b, colour.a);
    EXPECT_EQ(floor.rooms[0].IsComplete(), c.complete);
  }
}

TEST_F(FloorDrawTest, WireframeOutlinesEveryWallPieceInWallColour) {
  const CFloor floor = FloorAfter(STEP_BUDGET_UNLIMITED);
  ASSERT_EQ(floor.pendingRegions.GetSize(), 0);
  const auto lines = CaptureFeedback([&] { DrawWireframe(floor); });
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(24 * PieceCount(floor)));
  for (const FeedbackPrimitive& line : lines) ExpectColour(line.vertices[0], 0.8f, 0.5f, 0.0f);
}

// The bounds of quads [first, first + 6).
CBox3 BoundsOf(const std::vector<std::vector<FeedbackVertex>>& quads, std::size_t first) {
  CVector3 lo(1e9f), hi(-1e9f);
  for (std::size_t q = first; q < first + 6; ++q) {
    for (const FeedbackVertex& v : quads[q]) {
      lo = Min(lo, CVector3(v.x, v.y, v.z));
      hi = Max(hi, CVector3(v.x, v.y, v.z));
    }
  }
  return CBox3(lo, hi);
}

void ExpectNearBox(const CBox3& got, const CBox3& want) {
  for (unsigned axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(got.GetMin()[axis], want.GetMin()[axis], kTolerance) << got << " vs " << want;
    EXPECT_NEAR(got.GetMax()[axis], want.GetMax()[axis], kTolerance) << got << " vs " << want;
  }
}

TEST_F(FloorDrawTest, SolidShowsUncutWallsThenSlabs) {
  const CFloor floor = FloorAfter(STEP_BUDGET_UNLIMITED);
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawSolid(floor); }));
  const std::size_t walls = static_cast<std::size_t>(floor.walls.GetSize());
  ASSERT_EQ(quads.size(), 6 * walls + 6 * static_cast<std::size_t>(SlabCount(floor)));
  for (std::size_t w = 0; w < walls; ++w) {
    ExpectNearBox(BoundsOf(quads, 6 * w), floor.walls[static_cast<int>(w)].solid[0]);
    ExpectColour(quads[6 * w][0], 0.8f, 0.5f, 0.0f);
  }
  ExpectNearBox(BoundsOf(quads, 6 * walls), floor.slabs[0][0]);
  ExpectColour(quads[6 * walls][0], 0.5f, 0.6f, 0.7f);
}

TEST_F(FloorDrawTest, TexturedShowsWallPiecesAndSlabsInTheirRoomsShade) {
  const CFloor floor = FloorAfter(STEP_BUDGET_UNLIMITED);
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawTextured(floor); }));
  const std::size_t pieces = static_cast<std::size_t>(PieceCount(floor));
  ASSERT_EQ(quads.size(), 6 * pieces + 6 * static_cast<std::size_t>(SlabCount(floor)));
  ExpectColour(quads[0][0], 0.8f, 0.5f, 0.0f);
  std::size_t q = 6 * pieces;
  for (int room = 0; room < floor.slabs.GetSize(); ++room) {
    const CColour shade = PaletteShade(static_cast<unsigned>(room), 1);
    for (int slab = 0; slab < floor.slabs[room].GetSize(); ++slab, q += 6) {
      ExpectNearBox(BoundsOf(quads, q), floor.slabs[room][slab]);
      ExpectColour(quads[q][0], shade.r, shade.g, shade.b, shade.a);
    }
  }
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(FloorDrawTest, TexturedBindsTheWallAndFloorTextures) {
  const std::uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
  TextureSet().wall = CreateTexture(black, 1, 1, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  TextureSet().floor = CreateTexture(white, 1, 1, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  const CFloor floor = FloorAfter(STEP_BUDGET_UNLIMITED);
  SetWorldExtent(12);
  glTranslatef(-5, -5, 0);  // the 10 x 10 building in the middle, seen from above
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawTextured(floor);
  // Pixel of the middle of room 0's first slab, and of a wall top.
  const CBox3 slab = floor.slabs[0][0];
  const CBox3 wall = floor.walls[0].solid[0];
  auto pixelAt = [](float x, float y) {
    return ReadPixel(static_cast<int>((x - 5 + 12) / 24 * kSize), static_cast<int>((y - 5 + 12) / 24 * kSize));
  };
  const auto floorPixel = pixelAt((slab.GetMin().x + slab.GetMax().x) / 2, (slab.GetMin().y + slab.GetMax().y) / 2);
  EXPECT_NEAR(floorPixel[0], 255 * 3 / 7, 1) << "white floor texture in room 0's shade of red";
  EXPECT_EQ(floorPixel[1], 0);
  const auto wallPixel = pixelAt((wall.GetMin().x + wall.GetMax().x) / 2, (wall.GetMin().y + wall.GetMax().y) / 2);
  EXPECT_EQ(wallPixel[0], 0) << "black wall texture";
}

}  // namespace
}  // namespace quarn::test
