#include "app/capp.h"

// Frames are driven by the window's own idle repaint; no timer is armed.
void CApp::OnIdle() {}

void CApp::OnTimer(double) {}
