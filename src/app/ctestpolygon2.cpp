#include "app/ctestpolygon2.h"

#include <fstream>
#include <sstream>
#include <string>

#include "app/benchcommon.h"
#include "app/benchdrawing.h"
#include "building/ccolour.h"
#include "geom/cedge2.h"
#include "io/atomicfile.h"
#include "qassert.h"
#include "render/cbox2draw.h"
#include "render/cpolygon2draw.h"

namespace {

constexpr const char* kHelp[] = {
    "\n======== 2D BOX TESTING MODE ========\n",
    "  SPACE = place the corner of a rectangle\n",
    "  R = reset all\n",
    "  O = output some info\n",
    "  M = delete last point\n",
    "  J = insert splits\n",
    "  K = remove splits\n",
    "  E = get extents\n",
    "  B = get as box list\n",
    "  S = save\n",
    "  L = load\n",
};

}  // namespace

CTestPolygon2::CTestPolygon2(std::ostream& output) : CBenchMode(output) { Reset(); }

void CTestPolygon2::Reset() {
  polygons.Clear();
  polygons.Add(CPolygon2());
  boxes.Clear();
  extents.reset();
}

void CTestPolygon2::Enter() {
  Reset();
  PrintHelp(kHelp);
}

void CTestPolygon2::Init() { Reset(); }

CPolygon2& CTestPolygon2::GetCurrentPolygon() {
  if (!QUARN_ASSERT(polygons.GetSize() > 0)) polygons.Add(CPolygon2());
  return polygons[polygons.GetSize() - 1];
}

void CTestPolygon2::Update(const CMouseState& mouse, const CKeySet& keys) {
  // Once a point exists only one axis follows the pointer, alternately, so
  // every edge stays axis-parallel.
  const int points = GetCurrentPolygon().GetSize();
  quarn::FollowPointer(mouse, drag, cursor, points > 0 ? points % 2 : quarn::kBothAxes);
  if (keys.WasPressed(' ')) AddPointOrClose();
  if (keys.WasPressed('M')) RemoveLastPoint();
  if (keys.WasPressed('J')) {
    polygons[0].InsertSplits(0);
    polygons[0].InsertSplits(1);
  }
  if (keys.WasPressed('K')) {
    polygons[0].RemoveSplits(0);
    polygons[0].RemoveSplits(1);
  }
  if (keys.WasPressed('B') && polygons.GetSize() > 1) {
    boxes = polygons[0].GetAsBoxList();
    polygons.RemoveAt(0);
  }
  if (keys.WasPressed('E')) ToggleExtents();
  if (keys.WasPressed('R')) Reset();
  if (keys.WasPressed('O')) PrintOutput();
  if (keys.WasPressed('S') && polygons.GetSize() >= 2) Save();
  if (keys.WasPressed('L')) Load();
}

void CTestPolygon2::AddPointOrClose() {
  CPolygon2& polygon = GetCurrentPolygon();
  const int n = polygon.GetSize();
  if (n > 2 && cursor == polygon[0]) {
    if (!polygon.IsClockwise()) polygon.Reverse();
    polygons.Add(CPolygon2());
    return;
  }
  if (n > 0 && (cursor == polygon[n - 1] || NewEdgeCrosses(polygon))) return;
  polygon.Add(cursor);
}

bool CTestPolygon2::NewEdgeCrosses(const CPolygon2& polygon) const {
  const int n = polygon.GetSize();
  if (n < 4) return false;
  const CEdge2 edge(polygon[n - 1], cursor);
  for (int i = 0; i <= n - 3; ++i) {
    if (polygon.GetEdge(i).Intersects(edge)) return true;
  }
  return false;
}

void CTestPolygon2::RemoveLastPoint() {
  CPolygon2& polygon = GetCurrentPolygon();
  if (polygon.GetSize() > 0) polygon.RemoveLast();
  cursor = polygon.GetSize() > 0 ? polygon[polygon.GetSize() - 1] : CPoint2(0, 0);
  drag = cursor * quarn::kBenchDragPerUnit;
}

void CTestPolygon2::ToggleExtents() {
  if (extents) {
    extents.reset();
    return;
  }
  // A polygon without points, or whose points all share an x or a y, spans
  // no box: there are no extents to show.
  const CPolygon2& polygon = polygons[0];
  if (polygon.GetSize() == 0) return;
  CPoint2 low = polygon[0];
  CPoint2 high = low;
  for (int i = 1; i < polygon.GetSize(); ++i) {
    low = Min(low, polygon[i]);
    high = Max(high, polygon[i]);
  }
  if (IsValidBoxCorners(low, high)) extents = polygon.GetExtents();
}

void CTestPolygon2::PrintOutput() const {
  *out << polygons.GetSize() << " polygons." << '\n' << "sizes are:";
  for (int i = 0; i < polygons.GetSize(); ++i) *out << "  " << polygons[i].GetSize();
  *out << "\nnumber of boxes in boxlist = " << boxes.GetSize() << "\n\n";
  out->flush();
}

void CTestPolygon2::Save() const {
  std::ostringstream line;
  line << polygons[0] << '\n';
  std::string problem;
  if (!quarn::WriteFileAtomically(polygonFile, line.str(), problem)) {
    *out << "Could not save " << polygonFile << ": " << problem << '\n';
    out->flush();
  }
}

void CTestPolygon2::Load() {
  std::ifstream file(polygonFile);
  LoadPolygon(file);
}

void CTestPolygon2::LoadPolygon(std::istream& in) {
  Reset();
  in >> polygons[0];
  polygons.Add(CPolygon2());
}

void CTestPolygon2::DrawFrame() {
  quarn::BeginBenchDraw(*this, cursor);
  const int last = polygons.GetSize() - 1;
  for (int i = 0; i <= last; ++i) {
    quarn::SetColour(Palette(static_cast<unsigned>(i)));
    ::Draw(polygons[i], 1, 3, i == last ? 7 : 1, i != last);
  }
  quarn::SetColour(CColour(1, 1, 1));
  ::Draw(boxes, 1);
  if (extents) ::Draw(*extents);
  quarn::EndBenchDraw();
}
