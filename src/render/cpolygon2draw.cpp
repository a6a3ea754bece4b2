#include "render/cpolygon2draw.h"

#include <GL/gl.h>

namespace {

void EmitVertex(const CPoint2& p) {
  const GLint v[2] = {p.x, p.y};
  glVertex2iv(v);
}

}  // namespace

void Draw(const CPolygon2& polygon, unsigned lineWidth, unsigned pointSize,
          unsigned firstPointSize, bool closed) {
  const int count = polygon.GetSize();
  glLineWidth(static_cast<float>(lineWidth));
  glBegin(closed ? GL_LINE_LOOP : GL_LINE_STRIP);
  for (int i = 0; i < count; ++i) EmitVertex(polygon[i]);
  glEnd();
  glLineWidth(1.0f);
  glPointSize(static_cast<float>(firstPointSize));
  if (count > 0) {
    glBegin(GL_POINTS);
    EmitVertex(polygon[0]);
    glEnd();
  }
  glPointSize(static_cast<float>(pointSize));
  glBegin(GL_POINTS);
  for (int i = 0; i < count; ++i) EmitVertex(polygon[i]);
  glEnd();
  glPointSize(1.0f);
}
