#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "app/ckeyset.h"
#include "app/cmode.h"
#include "app/cmousestate.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

namespace quarn::test {

// One scripted frame: pointer movement in pixels made with the left button
// held (none when both are 0), and at most one key pressed.
struct Frame {
  int dx = 0;
  int dy = 0;
  char key = 0;
};

inline Frame Key(char key) { return {0, 0, key}; }
inline Frame Drag(int dx, int dy) { return {dx, dy, 0}; }
// A drag of whole grid units of a bench's cursor (32 pixels each).
inline Frame Move(int ux, int uy) { return {32 * ux, 32 * uy, 0}; }

// Feeds frames to a mode's Update the way the window does: events first,
// then Update, then the end of the frame for mouse and keys.
class Script {
 public:
  void Play(CMode& mode, std::initializer_list<Frame> frames) {
    for (const Frame& frame : frames) Step(mode, frame);
  }

  void Step(CMode& mode, const Frame& frame) {
    if (frame.dx != 0 || frame.dy != 0) {
      mouse.Press(kLeft);
      position += CPoint2(frame.dx, frame.dy);
      mouse.SetPosition(position.x, position.y);
    } else {
      mouse.Release(kLeft);
    }
    if (frame.key != 0) keys.Press(frame.key);
    mode.Update(mouse, keys);
    mouse.EndFrame();
    keys.ClearPressed();
  }

 private:
  static constexpr std::uint8_t kLeft = 1;
  CMouseState mouse;
  CKeySet keys{""};
  CPoint2 position{0, 0};
};

}  // namespace quarn::test

namespace quarn::test {

// Moves the bench's cursor to grid point p with one drag (both axes move).
template <class Bench>
void MoveTo(Script& script, Bench& bench, const CPoint2& p) {
  const CPoint2 d = p - bench.GetCursor();
  if (d != CPoint2(0, 0)) script.Step(bench, Move(d.x, d.y));
}

// Places the box with corners a and b: SPACE at a, then SPACE at b.
template <class Bench>
void PlaceBoxAt(Script& script, Bench& bench, const CPoint2& a, const CPoint2& b) {
  MoveTo(script, bench, a);
  script.Step(bench, Key(' '));
  MoveTo(script, bench, b);
  script.Step(bench, Key(' '));
}

// Moves the cursor to a, SPACE, then to b: a corner pending at a.
template <class Bench>
void PendCorner(Script& script, Bench& bench, const CPoint2& a, const CPoint2& b) {
  MoveTo(script, bench, a);
  script.Step(bench, Key(' '));
  MoveTo(script, bench, b);
}

using Boxes = std::vector<CBox2>;
using Points = std::vector<CPoint2>;

inline Boxes BoxesOf(const CBox2List& list) {
  Boxes boxes;
  for (int i = 0; i < list.GetSize(); ++i) boxes.push_back(list[i]);
  return boxes;
}

inline Points PointsOf(const CPolygon2& polygon) {
  Points points;
  for (int i = 0; i < polygon.GetSize(); ++i) points.push_back(polygon[i]);
  return points;
}

// The boxes of a list bench, list by list.
template <class Bench>
std::vector<Boxes> ListsOf(const Bench& bench) {
  std::vector<Boxes> lists;
  for (int i = 0; i < bench.GetLists().GetSize(); ++i)
    lists.push_back(BoxesOf(bench.GetLists()[i]));
  return lists;
}

// Places each list's boxes into a list bench, starting a new list (Z)
// between lists.
template <class Bench>
void BuildLists(Script& script, Bench& bench, const std::vector<Boxes>& lists) {
  for (std::size_t i = 0; i < lists.size(); ++i) {
    if (i > 0) script.Step(bench, Key('Z'));
    for (const CBox2& box : lists[i]) PlaceBoxAt(script, bench, box.GetMin(), box.GetMax());
  }
}

// A bench printing into a string, and the script that drives it.
template <class Bench>
class BenchTest : public ::testing::Test {
 protected:
  std::ostringstream out;
  Bench bench{out};
  Script script;

  // What the bench printed since the last call.
  std::string Printed() {
    std::string text = out.str();
    out.str("");
    return text;
  }
};

}  // namespace quarn::test
