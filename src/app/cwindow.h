#pragma once

#include <string>

#include "app/cbasewindow.h"
#include "app/cmode.h"
#include "app/cmodeinput.h"
#include "app/cmodeview.h"
#include "app/ctestbox2.h"
#include "app/ctestbox2list.h"
#include "app/ctestbox2listscore.h"
#include "app/ctestpolygon2.h"

// The main window: owns the modes, forwards every frame, every resize and
// every draw to the current one, and switches between input mode (drawing
// the outline, where it starts) and view mode (the generated buildings).
// Completing the outline hands the closed loops to the view, which builds
// from them; X in the view returns to the outline as it was. The client
// area is held at the current mode's GetWindowSize. The four developer
// benches live with the window but nothing makes them current.
class CWindow : public CBaseWindow {
 public:
  CWindow();

  // Title "QUARN", client size from the mode, textures loaded, outline
  // editor reset (then given the start file, if any), input mode entered.
  void OnCreate() override;
  // Ignores the size asked for: restores the mode's size and resizes the mode.
  void OnResize(int width, int height) override;
  // Loads the outline file into the editor as L does; from the view, a
  // file that loads returns to the editor with the next frame.
  void OnDropFile(const std::string& path) override;
  // An outline file that OnCreate loads into the editor, as a dropped file.
  void SetStartFile(const std::string& path) { startFile = path; }
  void Draw() override;
  // The current mode's Update, then at most one switch each way.
  void Update() override;

  const CMode* GetCurrentMode() const { return current; }
  CModeInput& GetInput() { return input; }
  CModeView& GetView() { return view; }
  CTestBox2& GetTestBox2() { return testBox2; }
  CTestBox2List& GetTestBox2List() { return testBox2List; }
  CTestPolygon2& GetTestPolygon2() { return testPolygon2; }
  CTestBox2ListScore& GetTestBox2ListScore() { return testBox2ListScore; }

  // For the developer tool only: bench (one of this window's four) is the
  // current mode from creation on, set up with its own Init and Enter
  // instead of the view's and the input's. The application never calls it.
  void StartWithBench(CMode& bench);

 private:
  bool IsBench(const CMode* mode) const;

  CTestBox2 testBox2;
  CTestBox2List testBox2List;
  CTestPolygon2 testPolygon2;
  CTestBox2ListScore testBox2ListScore;
  CModeInput input;
  CModeView view;
  CMode* current = nullptr;  // input or view (a bench only by StartWithBench)
  std::string startFile;
  bool fileOpened = false;  // a dropped file waits to be shown
};
