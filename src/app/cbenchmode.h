#pragma once

#include <ostream>
#include <span>

#include "app/cmode.h"
#include "geom/cpoint2.h"

// What every developer bench shares: the stream its help text and results go
// to, the cursor dragged over the grid (drag in pixels, cursor in grid units,
// both (0,0) at construction), a pixel projection on resize, and a frame
// drawn whole by DrawFrame (a bench writes no text).
class CBenchMode : public CMode {
 public:
  void Resize(int width, int height) override;
  void Draw(CBaseWindow& window) override;

  // Grid, content and cursor, centred on the cursor. Needs a GL context.
  virtual void DrawFrame() = 0;

  const CPoint2& GetDrag() const { return drag; }
  const CPoint2& GetCursor() const { return cursor; }

 protected:
  explicit CBenchMode(std::ostream& output) : out(&output) {}
  CBenchMode(const CBenchMode&) = default;
  CBenchMode& operator=(const CBenchMode&) = default;
  ~CBenchMode() = default;

  // Writes the help text, line by line, and flushes.
  void PrintHelp(std::span<const char* const> lines) const;

  std::ostream* out;
  CPoint2 drag{0, 0};
  CPoint2 cursor{0, 0};
};
