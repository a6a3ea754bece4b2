#include "app/cwindow.h"

#include "qassert.h"

namespace {

constexpr const char* kTitle = "QUARN";

}  // namespace

CWindow::CWindow() { current = &input; }

void CWindow::OnCreate() {
  if (!QUARN_ASSERT(current != nullptr)) current = &input;
  SetTitle(kTitle);
  const CPoint2 size = current->GetWindowSize();
  SetSize(size.x, size.y);
  if (IsBench(current)) {
    current->Init();
  } else {
    view.Init();
    input.Init();
    if (!startOutline.empty()) input.LoadLoops(startOutline);
  }
  current->Enter();
}

void CWindow::OnResize(int, int) {
  const CPoint2 size = current->GetWindowSize();
  SetSize(size.x, size.y);
  current->Resize(size.x, size.y);
}

void CWindow::Draw() { current->Draw(*this); }

void CWindow::Update() {
  current->Update(mouse, keys);
  if (current == &input && input.IsComplete()) {
    view.Build(input.GetLoops());
    view.Enter();
    current = &view;
  }
  if (current == &view && view.IsReturnRequested()) {
    input.Enter();
    current = &input;
  }
}

void CWindow::StartWithBench(CMode& bench) {
  if (QUARN_ASSERT(IsBench(&bench))) current = &bench;
}

bool CWindow::IsBench(const CMode* mode) const {
  return mode == &testBox2 || mode == &testBox2List || mode == &testPolygon2 ||
         mode == &testBox2ListScore;
}
