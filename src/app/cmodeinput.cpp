#include "app/cmodeinput.h"

#include <GL/gl.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "app/benchdrawing.h"
#include "app/modedrawing.h"
#include "building/ccolour.h"
#include "geom/cedge2.h"
#include "geom/outlinecheck.h"
#include "io/atomicfile.h"
#include "qassert.h"
#include "render/cpolygon2draw.h"

namespace {

constexpr std::uint8_t kLeftButton = 1;
constexpr int kPixelsPerUnit = 32;  // of mouse drag
constexpr int kUnitPixels = 12;     // on screen


std::string LineProblem(int line, const std::string& problem) {
  return "line " + std::to_string(line) + ": " + problem;
}

std::string PointText(const CPoint2& point) {
  std::ostringstream text;
  text << point;
  return text.str();
}

bool SameLoops(const TList<CPolygon2>& a, const TList<CPolygon2>& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

// The keys that may change the loops.
bool MayChangeLoops(const CKeySet& keys) {
  return keys.WasPressed(' ') || keys.WasPressed('M') || keys.WasPressed('R') ||
         keys.WasPressed('L');
}

bool IsWhiteSpace(std::string_view text) {
  return text.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

// The outline as the editor would have drawn it, with the same shape:
// clockwise, no vertex in the middle of a straight run, and the first edge
// vertical (else the last vertex comes first).
CPolygon2 InEditorForm(CPolygon2 loop) {
  if (!loop.IsClockwise()) loop.Reverse();
  loop.RemoveSplits(0);
  loop.RemoveSplits(1);
  if (loop[0].x != loop[1].x) {
    const CPoint2 last = loop[loop.GetSize() - 1];
    loop.RemoveLast();
    loop.InsertAt(0, last);
  }
  return loop;
}

}  // namespace

CModeInput::CModeInput() { Reset(); }

void CModeInput::Enter() {
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  complete = false;
}

void CModeInput::Init() { Reset(); }

void CModeInput::Resize(int width, int height) { SetPixelProjection(width, height); }

void CModeInput::Draw(CBaseWindow& window) {
  // The outline scrolls under the fixed grid so that the cursor stays at the
  // centre of the window.
  BeginGridView(*this, cursor.x, cursor.y, kUnitPixels);
  const int current = loops.GetSize() - 1;
  for (int i = 0; i < loops.GetSize(); ++i) {
    quarn::SetColour(Palette(static_cast<unsigned>(i)));
    if (i == current) {
      ::Draw(loops[i], 3, 5, 7, false);
    } else {
      ::Draw(loops[i], 3, 5, 1, true);
    }
  }
  DrawProposedEdge();
  glPopMatrix();

  quarn::SetColour(Palette(static_cast<unsigned>(current)) * 0.5f + CColour(0.5f, 0.5f, 0.5f, 1.0f));
  DrawCursor();

  glColor3f(0.8f, 1.0f, 0.0f);
  DrawText(*this, window, 10, 20, "INPUT MODE -- DRAW A POLYGON OUTLINE OF THE BUILDING.");
  DrawText(*this, window, 10, 20, "____________________________________________________");
  DrawText(*this, window, 10, 40,
           "Hold [LMB] to drag the cursor. Press [SPACE] to create a vertex. Press [M] to "
           "remove a vertex.");
  DrawText(*this, window, 10, 60,
           "Create an entire loop to complete a polygon. Press [X] to complete the input "
           "process.");
  DrawText(*this, window, 10, 80, "Buildings can be of any size and any complexity.");
  DrawText(*this, window, 10, 100, "Press [S] to save the outline to user.quarn, [L] to load it.");
  DrawText(*this, window, 10, 120,
           "Press [U] to undo a change (%d left). Drop a .quarn file to load it.", GetUndoCount());
  if (!toldLine.empty()) DrawText(*this, window, 10, 140, "%s", toldLine.c_str());
}

void CModeInput::Tell(const std::string& line) const {
  toldLine = line;
  std::cout << line << '\n';
  std::cout.flush();
}

// A dashed line from the last vertex to the cursor; missing when the edge
// would be refused.
void CModeInput::DrawProposedEdge() const {
  const CPolygon2& loop = GetCurrentLoop();
  if (loop.GetSize() == 0 || NewEdgeCrosses()) return;
  const CPoint2 last = loop[loop.GetSize() - 1];
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0xF0F0);
  glBegin(GL_LINES);
  glVertex2i(last.x, last.y);
  glVertex2i(cursor.x, cursor.y);
  glEnd();
  glDisable(GL_LINE_STIPPLE);
}

void CModeInput::Update(const CMouseState& mouse, const CKeySet& keys) {
  Drag(mouse);
  std::optional<EditState> before;
  if (MayChangeLoops(keys)) before = GetEditState();
  if (keys.WasPressed(' ')) PlaceVertex();
  if (keys.WasPressed('M')) RemoveVertex();
  if (keys.WasPressed('R')) Reset();
  if (keys.WasPressed('X')) CompleteInput();
  if (keys.WasPressed('S')) SaveLoops();
  if (keys.WasPressed('L')) LoadLoops();
  if (before) KeepForUndo(*before);
  if (keys.WasPressed('U')) Undo();
}

void CModeInput::KeepForUndo(const EditState& before) {
  if (!SameLoops(before.loops, loops)) undoSteps.push_back(before);
}

bool CModeInput::Undo() {
  if (undoSteps.empty()) return false;
  loops = undoSteps.back().loops;
  drag = undoSteps.back().drag;
  cursor = undoSteps.back().cursor;
  undoSteps.pop_back();
  return true;
}

bool CModeInput::OpenFile(const std::filesystem::path& file) {
  const EditState before = GetEditState();
  const bool loaded = LoadLoops(file);
  KeepForUndo(before);
  return loaded;
}

void CModeInput::Reset() {
  loops.Clear();
  loops.Add(CPolygon2());
  drag = CPoint2(0, 0);
  cursor = CPoint2(0, 0);
}

// Input is complete with at least one closed loop, unless the loops hold
// more cells than the designer takes: then the user is told, and the loops
// stay to be changed.
void CModeInput::CompleteInput() {
  if (loops.GetSize() < 2) return;
  if (const quarn::OutlineCheck size = quarn::CheckOutlineCells(GetLoops()); !size.IsValid()) {
    Tell("Cannot design the buildings: " + size.problem);
    return;
  }
  complete = true;
}

const CPolygon2& CModeInput::GetCurrentLoop() const {
  QUARN_ASSERT_FATAL(loops.GetSize() > 0);
  return loops[loops.GetSize() - 1];
}

CPolygon2& CModeInput::CurrentLoop() {
  QUARN_ASSERT_FATAL(loops.GetSize() > 0);
  return loops[loops.GetSize() - 1];
}

TList<CPolygon2> CModeInput::GetLoops() const {
  TList<CPolygon2> closed;
  for (int i = 0; i + 1 < loops.GetSize(); ++i) closed.Add(loops[i]);
  return closed;
}

// After the first vertex the cursor moves on one axis only, alternately y and
// x, so every edge is vertical or horizontal and the first one vertical.
void CModeInput::Drag(const CMouseState& mouse) {
  if (!mouse.IsDown(kLeftButton)) return;
  const CPoint2 delta = mouse.GetDelta();
  const int n = GetCurrentLoop().GetSize();
  if (n == 0) {
    drag += delta;
  } else {
    const int axis = n % 2;
    drag[axis] += delta[axis];
  }
  cursor = drag / kPixelsPerUnit;
}

void CModeInput::PlaceVertex() {
  CPolygon2& loop = CurrentLoop();
  const int n = loop.GetSize();
  if (n == 0) {
    loop.Add(cursor);
    return;
  }
  if (cursor == loop[0]) {
    if (n < 4 || NewEdgeCrosses()) return;
    if (!loop.IsClockwise()) loop.Reverse();
    loops.Add(CPolygon2());
    return;
  }
  if (CanAddCursor()) loop.Add(cursor);
}

bool CModeInput::CanAddCursor() const {
  const CPolygon2& loop = GetCurrentLoop();
  return cursor != loop[loop.GetSize() - 1] && !NewEdgeCrosses();
}

void CModeInput::RemoveVertex() {
  CPolygon2& loop = CurrentLoop();
  if (loop.GetSize() > 0) {
    loop.RemoveLast();
  } else if (loops.GetSize() > 1) {
    loops.RemoveLast();
  }
  MoveCursorToLastVertex();
}

void CModeInput::MoveCursorToLastVertex() {
  const CPolygon2& loop = GetCurrentLoop();
  if (loop.GetSize() == 0) return;
  cursor = loop[loop.GetSize() - 1];
  drag = cursor * kPixelsPerUnit;
}

bool CModeInput::NewEdgeCrosses() const {
  if (loops.GetSize() == 0) return false;
  const CPolygon2& loop = GetCurrentLoop();
  const int n = loop.GetSize();
  if (n == 0) return false;
  const CPoint2 last = loop[n - 1];
  if (cursor == last) return false;
  const CEdge2 proposed(last, cursor);
  if (cursor == loop[0]) return ClosingEdgeCrosses(proposed);
  // The current loop's last edge meets the proposed one at the last vertex.
  return EdgeTouchesLoops(proposed, 0, n - 3);
}

// With fewer than 4 or an odd number of vertices the closing edge is parallel
// to the first edge: it runs back along it or leaves vertex 0 in the middle of
// a straight run. Otherwise it meets the first and the last edge at their end
// points, and every other edge must stay clear of it.
bool CModeInput::ClosingEdgeCrosses(const CEdge2& closing) const {
  const int n = GetCurrentLoop().GetSize();
  if (n < 4 || n % 2 != 0) return true;
  return EdgeTouchesLoops(closing, 1, n - 3);
}

// Tests edge against every edge of the closed loops, closing edges included,
// and against the current loop's edges currentFirstEdge .. currentLastEdge.
bool CModeInput::EdgeTouchesLoops(const CEdge2& edge, int currentFirstEdge,
                                  int currentLastEdge) const {
  const int current = loops.GetSize() - 1;
  for (int i = 0; i < loops.GetSize(); ++i) {
    const CPolygon2& loop = loops[i];
    if (loop.GetSize() < 2) continue;
    const int first = i == current ? currentFirstEdge : 0;
    const int last = i == current ? currentLastEdge : loop.GetSize() - 1;
    for (int j = first; j <= last; ++j) {
      if (loop.GetEdge(j).Intersects(edge)) return true;
    }
  }
  return false;
}

void CModeInput::WriteLoops(std::ostream& out) const {
  for (int i = 0; i < loops.GetSize(); ++i) out << loops[i] << '\n';
}

std::string CModeInput::ReadLoops(std::istream& in) {
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  while (!lines.empty() && IsWhiteSpace(lines.back())) lines.pop_back();
  if (lines.empty()) return "the file holds no loop";

  CModeInput candidate;
  const int lastLine = static_cast<int>(lines.size());
  for (int number = 1; number < lastLine; ++number) {
    const quarn::OutlineLine parsed = quarn::ParseOutlineLine(lines[number - 1]);
    if (parsed.kind == quarn::OutlineLine::Kind::Bad) return LineProblem(number, parsed.problem);
    if (parsed.kind == quarn::OutlineLine::Kind::Blank) continue;
    if (const quarn::OutlineCheck check = quarn::CheckOutline(parsed.loop); !check.IsValid()) {
      return LineProblem(number, check.problem);
    }
    if (std::string problem = candidate.AddClosedLoop(parsed.loop); !problem.empty()) {
      return LineProblem(number, problem);
    }
  }

  // The last line is the loop being drawn, unless it is a whole outline, as
  // every line of an outline file is.
  const quarn::OutlineLine open = quarn::ParseOutlineLine(lines.back());
  if (open.kind == quarn::OutlineLine::Kind::Bad) return LineProblem(lastLine, open.problem);
  if (open.kind == quarn::OutlineLine::Kind::Loop && quarn::CheckOutline(open.loop).IsValid()) {
    if (std::string problem = candidate.AddClosedLoop(open.loop); !problem.empty()) {
      return LineProblem(lastLine, problem);
    }
  } else {
    for (int j = 0; j < open.loop.GetSize(); ++j) {
      if (std::string problem = candidate.AcceptVertex(open.loop[j]); !problem.empty()) {
        return LineProblem(lastLine, problem);
      }
    }
  }

  loops = candidate.loops;
  MoveCursorToLastVertex();
  return {};
}

// Adds loop, an outline that CheckOutline accepts, before the loop being
// drawn, in the editor's own form; refuses a loop that touches another.
std::string CModeInput::AddClosedLoop(const CPolygon2& outline) {
  const CPolygon2 loop = InEditorForm(outline);
  for (int j = 0; j < loop.GetSize(); ++j) {
    if (EdgeTouchesLoops(loop.GetEdge(j), 0, -1))
      return "the loop touches or crosses an earlier loop";
  }
  loops.InsertAt(loops.GetSize() - 1, loop);
  return {};
}

// Places vertex as the next vertex of the open loop if the editor would have
// let the user place it there without closing the loop.
std::string CModeInput::AcceptVertex(const CPoint2& vertex) {
  CPolygon2& loop = CurrentLoop();
  const int n = loop.GetSize();
  if (n > 0) {
    const CPoint2 last = loop[n - 1];
    const int fixedAxis = 1 - n % 2;
    if (vertex[fixedAxis] != last[fixedAxis] || vertex == last) {
      return "the edge to vertex " + PointText(vertex) + " does not continue the loop " +
             (n % 2 == 0 ? "horizontally" : "vertically");
    }
    if (vertex == loop[0]) return "the open loop returns to its first vertex";
    cursor = vertex;
    if (NewEdgeCrosses()) return "the edge to vertex " + PointText(vertex) + " touches or crosses another edge";
  }
  loop.Add(vertex);
  return {};
}

bool CModeInput::SaveLoops(const std::filesystem::path& file) const {
  std::ostringstream text;
  WriteLoops(text);
  std::string problem;
  if (!quarn::WriteFileAtomically(file.string(), text.str(), problem)) {
    Tell("Could not save " + file.string() + ": " + problem);
    return false;
  }
  return true;
}

bool CModeInput::LoadLoops(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    Tell("Could not load " + file.string() + ": the file cannot be opened");
    return false;
  }
  if (const std::string problem = ReadLoops(in); !problem.empty()) {
    Tell("Could not load " + file.string() + ": " + problem);
    return false;
  }
  toldLine.clear();
  return true;
}
