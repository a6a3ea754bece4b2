#pragma once

#include "app/cwindow.h"
#include "main.h"

// The one application object: a global constructed before main runs, which
// registers itself with Main and owns the main window.
class CApp : public App {
 public:
  void OnIdle() override;
  void OnTimer(double seconds) override;

  CWindow& GetWindow() { return window; }

 private:
  CWindow window;
};
