#include "render/cbox2draw.h"

#include <GL/gl.h>

namespace {

constexpr float kTexturePerUnit = 0.3f;
constexpr GLushort kDashed = 0x8888;

// The corners in drawing order: top-right, top-left, bottom-left, bottom-right.
void EmitCorners(const CBox2& box, bool textured) {
  const CPoint2 lo = box.GetMin(), hi = box.GetMax();
  const CPoint2 corners[4] = {{hi.x, hi.y}, {lo.x, hi.y}, {lo.x, lo.y}, {hi.x, lo.y}};
  for (const CPoint2& c : corners) {
    if (textured) glTexCoord2f(kTexturePerUnit * c.x, kTexturePerUnit * c.y);
    glVertex2i(c.x, c.y);
  }
}

}  // namespace

void Draw(const CBox2& box) {
  glNormal3f(0.0f, 0.0f, 1.0f);
  glBegin(GL_LINE_LOOP);
  EmitCorners(box, false);
  glEnd();
}

void DrawFilled(const CBox2& box) {
  glNormal3f(0.0f, 0.0f, 1.0f);
  glBegin(GL_QUADS);
  EmitCorners(box, true);
  glEnd();
}

void DrawNeighbours(const CBox2& box) {
  glPushAttrib(GL_LINE_BIT | GL_POINT_BIT);
  glLineWidth(2.0f);
  const CVector2 centre = box.GetCentre();
  for (Side side = SideLeft; side <= SideUp; ++side) {
    // GetNeighbour asserts that the link still matches its side.
    const CBox2* neighbour = box.GetNeighbour(side);
    if (neighbour == nullptr) continue;
    if (IsPositiveSide(side)) {
      glDisable(GL_LINE_STIPPLE);
    } else {
      glLineStipple(1, kDashed);
      glEnable(GL_LINE_STIPPLE);
    }
    const int axis = GetSideAxis(side);
    if (axis == 1) {
      glColor3f(0.5f, 1.0f, 0.5f);
    } else {
      glColor3f(1.0f, 0.5f, 0.5f);
    }
    CVector2 direction = neighbour->GetCentre() - centre;
    direction.Normalise();
    const CVector2 end = direction * static_cast<float>(box.GetSize()[axis] / 2.0) + centre;
    glBegin(GL_LINES);
    glVertex2f(centre.x, centre.y);
    glVertex2f(end.x, end.y);
    glEnd();
  }
  glPointSize(6.0f);
  glColor3f(0.5f, 0.5f, 0.5f);
  glBegin(GL_POINTS);
  glVertex2f(centre.x, centre.y);
  glEnd();
  glPopAttrib();
}

void Draw(const CBox2List& boxes, unsigned width) {
  glLineWidth(static_cast<float>(width));
  for (int i = 0; i < boxes.GetSize(); ++i) Draw(boxes[i]);
  glLineWidth(1.0f);
}

void DrawFilled(const CBox2List& boxes) {
  for (int i = 0; i < boxes.GetSize(); ++i) DrawFilled(boxes[i]);
}

void DrawNeighbours(const CBox2List& boxes) {
  for (int i = 0; i < boxes.GetSize(); ++i) DrawNeighbours(boxes[i]);
}
