#include "render/cbuildingdraw.h"

#include <sstream>

#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building/cfloordesigner.h"
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
  std::ostringstream trace;
  std::ostream* previous = SetDesignTrace(&trace);
  TList<TList<CFloor>> buildings;
  buildings.Add(CBuilding(CFloorSpec(Square(0, 10), 1, 0, 45), 3).floors);
  buildings.Add(CBuilding(CFloorSpec(Square(20, 8), 1, 0, 45), STEP_BUDGET_UNLIMITED).floors);
  SetDesignTrace(previous);
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

}  // namespace
}  // namespace quarn::test
