#pragma once

#include "app/ckeyset.h"
#include "app/cmousestate.h"
#include "glwindow.h"

// The character a virtual-key code counts as in the key set, or 0 for a key
// without one. Letters, digits and the space bar count as themselves, the
// keypad's digits as digits, and the navigation keys 33..40 (Page Up, Page
// Down, End, Home, the arrows), which no letter or digit shares, keep their
// codes. Every other key (function keys, the keypad's operators, Insert,
// Delete, ...) has none: its code would otherwise fold onto a letter's bit.
char KeySetCharacter(int virtualKey);

// The window layer under the main window: turns window events into this
// frame's mouse and key state and runs one Update/Draw cycle per repaint,
// repainting whenever the event queue is empty (frames back to back).
class CBaseWindow : public GLWindow {
 public:
  // One frame: clear, depth test on, identity model-view, Update, Draw, end
  // of frame for mouse and keys, swap.
  void OnDisplay() override;
  // Buttons 0 left, 1 middle, 2 right become the masks 1, 2, 4.
  void OnMouseButton(int button, bool down) override;
  void OnMouseMove(int x, int y) override;
  // A key-down presses the key's KeySetCharacter, if it has one; key-down
  // and key-up mark it held and released.
  void OnKeyboard(int key, bool down) override;
  void OnIdle() override;

  virtual void Draw() = 0;
  virtual void Update();

 protected:
  CBaseWindow() = default;

  CMouseState mouse;
  CKeySet keys{""};
};
