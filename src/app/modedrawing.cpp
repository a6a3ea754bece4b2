#include "app/modedrawing.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/cbasewindow.h"
#include "app/cmode.h"

namespace {

// The size of DrawText's buffer, terminator included.
constexpr int kTextBufferSize = 500;

int EvenUp(int size) { return size % 2 != 0 ? size + 1 : size; }

}  // namespace

void SetPixelProjection(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  width = EvenUp(width);
  height = height == 0 ? 1 : EvenUp(height);
  glViewport(0, 0, width, height);
  glOrtho(-width / 2.0, width / 2.0, -height / 2.0, height / 2.0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
}

void DrawGrid(int spacing, int halfCount) {
  const int extent = spacing * halfCount;
  const int step = spacing == 0 ? 1 : spacing;
  glBegin(GL_LINES);
  for (int v = -extent; v <= extent; v += step) {
    glVertex3i(v, -extent, 0);
    glVertex3i(v, extent, 0);
    glVertex3i(-extent, v, 0);
    glVertex3i(extent, v, 0);
  }
  glEnd();
}

void BeginGridView(CMode& mode, int cursorX, int cursorY, int pixelsPerUnit) {
  constexpr int kGridHalfCount = 64;
  const CPoint2 size = mode.GetWindowSize();
  mode.Resize(size.x, size.y);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glColor3f(0.2f, 0.2f, 0.2f);
  DrawGrid(pixelsPerUnit, kGridHalfCount);
  glPushMatrix();
  glScalef(static_cast<float>(pixelsPerUnit), static_cast<float>(pixelsPerUnit), 0);
  glTranslatef(static_cast<float>(-cursorX), static_cast<float>(-cursorY), 0);
}

void DrawCursor() {
  static constexpr GLint kArrowHeads[][2] = {
      {0, -1}, {4, -16},  {-4, -16},  // below, pointing up
      {0, 1},  {-4, 16},  {4, 16},    // above, pointing down
      {-1, 0}, {-16, -4}, {-16, 4},   // left, pointing right
      {1, 0},  {16, 4},   {16, -4},   // right, pointing left
  };
  glBegin(GL_TRIANGLES);
  for (const auto& vertex : kArrowHeads) glVertex2iv(vertex);
  glEnd();
}

std::string FormatTextV(const char* format, std::va_list arguments) {
  char text[kTextBufferSize];
  if (std::vsnprintf(text, sizeof text, format, arguments) < 0) return {};
  return text;
}

std::string FormatText(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string text = FormatTextV(format, arguments);
  va_end(arguments);
  return text;
}

void DrawText(CMode& mode, CBaseWindow& window, int x, int y, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  const std::string text = FormatTextV(format, arguments);
  va_end(arguments);

  const CPoint2 size = mode.GetWindowSize();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glScalef(1, -1, 1);  // y counts from the top
  glPushMatrix();
  glRasterPos2f(2.0f * x / size.x - 1, 2.0f * y / size.y - 1);
  window.Printf("%s", text.c_str());
  glPopMatrix();
  glLoadIdentity();
  mode.Resize(size.x, size.y);
}
