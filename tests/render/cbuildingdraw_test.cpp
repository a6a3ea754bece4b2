#include "render/cbuildingdraw.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <vector>

#include <GL/glu.h>
#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "render/cfloordraw.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

using BuildingDrawTest = GlTest;

CPolygon2 Square(int x0, int size) {
  CPolygon2 outline;
  for (const CPoint2& p : {CPoint2(x0, size), CPoint2(x0 + size, size), CPoint2(x0 + size, 0),
                           CPoint2(x0, 0)})
    outline.Add(p);
  return outline;
}

TEST_F(BuildingDrawTest, EachStyleDrawsEveryStoreyOfEveryBuildingWithItsFloorDrawing) {
  TList<TList<CFloor>> buildings;
  buildings.Add(CBuilding(CFloorSpec(Square(0, 10), 1, 0, 45), 3).floors);
  buildings.Add(CBuilding(CFloorSpec(Square(20, 8), 1, 0, 45), STEP_BUDGET_UNLIMITED).floors);
  const struct {
    int style;
    void (*draw)(const CFloor&);
  } styles[] = {{1, &DrawDesign}, {2, &DrawWireframe}, {3, &DrawSolid}, {4, &DrawTextured}};
  for (const auto& s : styles) {
    SCOPED_TRACE(s.style);
    const auto expected = CaptureFeedback([&] {
      s.draw(buildings[0][0]);
      s.draw(buildings[1][0]);
    });
    const auto got = CaptureFeedback([&] { DrawBuildings(buildings, s.style); });
    ASSERT_EQ(got.size(), expected.size());
    ASSERT_FALSE(got.empty());
    EXPECT_NEAR(got.back().vertices[0].x, expected.back().vertices[0].x, 1e-3);
  }
  for (int style : {0, 5, -1})
    EXPECT_TRUE(CaptureFeedback([&] { DrawBuildings(buildings, style); }).empty()) << style;
}

// Storey k stands k * 1.5 above the ground; only the lowest shown storeys
// are drawn.
TEST_F(BuildingDrawTest, StoreysStandStackedAndOnlyTheShownOnesAreDrawn) {
  TList<TList<CFloor>> buildings;
  buildings.Add(CBuilding(CFloorSpec(Square(0, 10), 3, 0, 45), STEP_BUDGET_UNLIMITED).floors);
  ASSERT_EQ(buildings[0].GetSize(), 3);
  // Seen from the side: the world's z is the window's y.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-20, 20, -20, 20, -20, 20);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(-90, 1, 0, 0);
  for (int shown : {1, 2, 3, kAllStoreys}) {
    const auto expected = CaptureFeedback([&] {
      for (int k = 0; k < std::min(shown, 3); ++k) {
        glPushMatrix();
        glTranslatef(0, 0, 1.5f * static_cast<float>(k));
        DrawSolid(buildings[0][k]);
        glPopMatrix();
      }
    });
    const auto got = CaptureFeedback([&] { DrawBuildings(buildings, kStyleSolid, shown); });
    ASSERT_EQ(got.size(), expected.size()) << shown;
    for (std::size_t i = 0; i < got.size(); i += got.size() / 7 + 1) {
      EXPECT_NEAR(got[i].vertices[0].y, expected[i].vertices[0].y, 1e-3) << shown << " " << i;
    }
  }
}

TEST_F(BuildingDrawTest, LightingUsesLightTwoFixedInTheWorld) {
  glRotatef(90, 0, 0, 1);  // a camera turned a quarter about z
  SetBuildingLighting();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  GLint face = 0, mode = 0, twoSided = 1;
  glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
  glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &mode);
  glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
  EXPECT_EQ(face, GL_FRONT);
  EXPECT_EQ(mode, GL_AMBIENT_AND_DIFFUSE);
  EXPECT_EQ(twoSided, GL_FALSE);
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_EQ(shininess, 16.0f);
  const struct {
    GLenum name;
    std::array<GLfloat, 4> value;
  } cases[] = {{GL_DIFFUSE, {1, 1, 1, 0}},
               {GL_AMBIENT, {0.5f, 0.5f, 0.5f, 0}},
               // (-1, -2, 3) turned a quarter about z, in eye coordinates.
               {GL_POSITION, {2, -1, 3, 0}}};
  for (const auto& c : cases) {
    std::array<GLfloat, 4> got{};
    glGetLightfv(GL_LIGHT2, c.name, got.data());
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(got[i], c.value[i], 1e-5) << c.name << " " << i;
  }
}

// Every pixel of the back buffer, RGBA, rows from the bottom.
std::vector<std::uint8_t> FramePixels(int size, const std::function<void()>& draw) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  draw();
  std::vector<std::uint8_t> pixels(4 * size * size);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

// The view keeps the wireframe's lines between frames and leaves out the
// lines drawn twice: the picture must stay that of DrawBuildings, pixel for
// pixel, from any camera, and follow the buildings when they change.
TEST_F(BuildingDrawTest, KeptWireframeDrawsTheSamePixelsAsDrawBuildings) {
  CPolygon2 ell;
  for (const CPoint2& p : {CPoint2(0, 14), CPoint2(6, 14), CPoint2(6, 6), CPoint2(14, 6),
                           CPoint2(14, 0), CPoint2(0, 0)})
    ell.Add(p);
  TList<TList<CFloor>> states[2];
  for (std::uint32_t budget : {7u, STEP_BUDGET_UNLIMITED}) {
    TList<TList<CFloor>>& buildings = states[budget == 7u ? 0 : 1];
    buildings.Add(CBuilding(CFloorSpec(ell, 2, 10, 20), budget).floors);
    buildings.Add(CBuilding(CFloorSpec(Square(20, 9), 1, 0, 45), budget).floors);
  }
  const CWireframe lines(states[1][0][0]);
  int pieces = 0;
  for (int w = 0; w < states[1][0][0].walls.GetSize(); ++w)
    pieces += states[1][0][0].walls[w].pieces.GetSize();
  EXPECT_LT(lines.GetLineCount(), static_cast<std::size_t>(24 * 2 * pieces / 3));

  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(40, 1, 0.5, 200);
  glMatrixMode(GL_MODELVIEW);
  CBuildingDrawing drawing;
  const struct {
    float x, y, z;
  } eyes[] = {{-8, -12, 20}, {40, 30, 6}, {14, 7, 45}, {3, 3, 1}, {-20, 20, 0.5f}};
  for (std::uint64_t revision = 0; revision < 4; ++revision) {
    const TList<TList<CFloor>>& buildings = states[revision % 2];
    for (const auto& eye : eyes) {
      SCOPED_TRACE(testing::Message()
                   << "revision " << revision << " eye " << eye.x << "," << eye.y << "," << eye.z);
      glLoadIdentity();
      gluLookAt(eye.x, eye.y, eye.z, 15, 7, 0.7, 0, 0, 1);
      SetBuildingLighting();
      const auto want = FramePixels(kSize, [&] { DrawBuildings(buildings, kStyleWireframe); });
      const auto got =
          FramePixels(kSize, [&] { drawing.Draw(buildings, revision, kStyleWireframe); });
      EXPECT_TRUE(want == got);
    }
  }
}

}  // namespace
}  // namespace quarn::test
