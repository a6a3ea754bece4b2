#pragma once

#include "app/ckeyset.h"
#include "app/cmousestate.h"
#include "geom/cpoint2.h"

class CBaseWindow;

// An interaction mode of the main window. The window forwards each frame's
// Update and Draw and every resize to the current mode, and calls Enter when
// a mode becomes current. Modes are owned by value by the window, which
// destroys them directly: there is no virtual destructor.
class CMode {
 public:
  // The client size the mode wants, x = width, y = height: 800 x 600.
  virtual CPoint2 GetWindowSize() const;
  // The mode becomes current: set its GL state, reset its per-visit flags.
  virtual void Enter() = 0;
  // One-time set-up once a GL context exists.
  virtual void Init() = 0;
  // Viewport and projection for a client area of this size.
  virtual void Resize(int width, int height) = 0;
  // Draws the whole frame, help text included, through window.
  virtual void Draw(CBaseWindow& window) = 0;
  // Reads this frame's mouse and keys and changes the mode's state.
  virtual void Update(const CMouseState& mouse, const CKeySet& keys) = 0;

 protected:
  CMode() = default;
  CMode(const CMode&) = default;
  CMode& operator=(const CMode&) = default;
  ~CMode() = default;
};
