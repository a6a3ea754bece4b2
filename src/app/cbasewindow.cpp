#include "app/cbasewindow.h"

#include <GL/gl.h>

namespace {

constexpr int kButtonCount = 8;  // the mouse state holds 8 bits
constexpr int kFirstNavigationKey = 33;  // Page Up
constexpr int kLastNavigationKey = 40;   // Down
constexpr int kKeypad0 = 96;
constexpr int kKeypad9 = 105;
constexpr int kShift = 16;

}  // namespace

char KeySetCharacter(int virtualKey) {
  const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  const bool digit = virtualKey >= '0' && virtualKey <= '9';
  const bool navigation = virtualKey >= kFirstNavigationKey && virtualKey <= kLastNavigationKey;
  if (letter || digit || navigation || virtualKey == ' ') return static_cast<char>(virtualKey);
  if (virtualKey >= kKeypad0 && virtualKey <= kKeypad9) {
    return static_cast<char>('0' + (virtualKey - kKeypad0));
  }
  return 0;
}

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
  if (key == kShift) keys.SetShiftHeld(down);
  const char character = KeySetCharacter(key);
  if (down) keys.Press(character);
  keys.SetHeld(character, down);
}

void CBaseWindow::OnIdle() { Redraw(); }

void CBaseWindow::Update() {}
