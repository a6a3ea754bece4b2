#include "app/cmode.h"

CPoint2 CMode::GetWindowSize() const { return CPoint2(800, 600); }
