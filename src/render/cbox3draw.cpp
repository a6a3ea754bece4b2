#include "render/cbox3draw.h"

#include <GL/gl.h>

namespace {

void DrawFaces(const CBox3& box, bool outline) {
  for (unsigned side = 0; side < kBoxFaceCount; ++side) DrawFace(box.GetFace(side), outline);
}

}  // namespace

void DrawFace(const CFace3& face, bool outline) {
  const std::array<CFaceVertex3, 4> corners = face.GetVertices();
  glNormal3f(corners[0].normal.x, corners[0].normal.y, corners[0].normal.z);
  glBegin(outline ? GL_LINE_LOOP : GL_QUADS);
  for (const CFaceVertex3& corner : corners) {
    glTexCoord2f(corner.texCoord[0], corner.texCoord[1]);
    glVertex3f(corner.position.x, corner.position.y, corner.position.z);
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
