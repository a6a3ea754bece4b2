#include "app/benchdrawing.h"

#include <GL/gl.h>

#include "app/benchcommon.h"
#include "app/cmode.h"
#include "app/modedrawing.h"
#include "render/cbox2draw.h"

namespace quarn {

namespace {

constexpr GLushort kDashPattern = 0xF0F0;

}  // namespace

void BeginBenchDraw(CMode& mode, const CPoint2& cursor) {
  BeginGridView(mode, cursor.x, cursor.y, kBenchPixelsPerUnit);
}

void EndBenchDraw() {
  glPopMatrix();
  glColor3f(1, 1, 1);
  DrawCursor();
}

void SetColour(const CColour& colour) { glColor4f(colour.r, colour.g, colour.b, colour.a); }

void DrawPendingBox(const std::optional<CPoint2>& pendingCorner, const CPoint2& cursor,
                    const CColour& colour) {
  const std::optional<CBox2> box = GetPendingBox(pendingCorner, cursor);
  if (!box) return;
  SetColour(colour);
  glLineStipple(1, kDashPattern);
  glEnable(GL_LINE_STIPPLE);
  Draw(*box);
  glDisable(GL_LINE_STIPPLE);
}

}  // namespace quarn
