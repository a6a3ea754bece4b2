#include "render/cbox3draw.h"

#include <GL/gl.h>

namespace {

constexpr unsigned kFaceCount = 6;

void DrawFaces(const CBox3& box, bool outline) {
  for (unsigned side = 0; side < kFaceCount; ++side) DrawFace(box.GetFace(side), outline);
}

}  // namespace

void DrawFace(const CFace3& face, bool outline) {
  const CVector3 normal = GetSideNormal(face.side);
  glNormal3f(normal.x, normal.y, normal.z);
  glBegin(outline ? GL_LINE_LOOP : GL_QUADS);
  for (const CVector3& v : face.GetQuad()) {
    const std::array<float, 2> st = GetFaceTexCoord(face.side, v);
    glTexCoord2f(st[0], st[1]);
    glVertex3f(v.x, v.y, v.z);
  }
  glEnd();
}

void Draw(const CBox3& box) { DrawFaces(box, true); }

void DrawFilled(const CBox3& box) { DrawFaces(box, false); }

void Draw(const TList<CBox3>& boxes) {
  for (int i = 0; i < boxes.GetSize(); ++i) Draw(boxes[i]);
}

void DrawFilled(const TList<CBox3>& boxes) {
  for (int i = 0; i < boxes.GetSize(); ++i) DrawFilled(boxes[i]);
}
