#include "app/cbasewindow.h"

#include <GL/gl.h>

namespace {

constexpr int kButtonCount = 8;  // the mouse state holds 8 bits

}  // namespace

void CBaseWindow::OnDisplay() {
  glClear(GL_COLOR_BUFFER_BIT);
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  Update();
  Draw();
  mouse.EndFrame();
  keys.ClearPressed();
  SwapBuffers();
}

void CBaseWindow::OnMouseButton(int button, bool down) {
  if (button < 0 || button >= kButtonCount) return;
  const auto mask = static_cast<std::uint8_t>(1u << button);
  if (down) {
    mouse.Press(mask);
  } else {
    mouse.Release(mask);
  }
}

void CBaseWindow::OnMouseMove(int x, int y) { mouse.SetPosition(x, y); }

void CBaseWindow::OnKeyboard(int key, bool down) {
  if (down) keys.Press(static_cast<char>(key & 0xFF));
}

void CBaseWindow::OnIdle() { Redraw(); }

void CBaseWindow::Update() {}
