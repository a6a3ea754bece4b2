// The polygon text reader on arbitrary text, then the box decomposition of
// what it read. Any polygon may come out of the reader, so assertions are
// counted, not fatal, and the decomposition must merely end without a fault;
// for a loop that passes the outline check (turned clockwise) no assertion
// may fire and the boxes must be disjoint and cover the loop's area.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "geom/cbox2list.h"
#include "geom/cpolygon2.h"
#include "geom/outlinecheck.h"
#include "qassert.h"

namespace {

using quarn::fuzz::Expect;

int assertionCount = 0;
void CountAssertion(const char*, int) { ++assertionCount; }

// Twice the signed area (shoelace), positive for clockwise loops.
long long TwiceClockwiseArea(const CPolygon2& loop) {
  long long sum = 0;
  for (int i = 0; i < loop.GetSize(); ++i) {
    const CPoint2 a = loop[i];
    const CPoint2 b = loop[loop.GetNext(i)];
    sum += static_cast<long long>(b.x - a.x) * (b.y + a.y);
  }
  return sum;
}

void ExpectDecomposition(CPolygon2 loop) {
  if (!loop.IsClockwise()) loop.Reverse();
  const CBox2List boxes = loop.GetAsBoxList();
  Expect(assertionCount == 0, "no assertion while decomposing a valid outline");
  Expect(!boxes.OverlapsSelf(), "the boxes are disjoint");
  long long area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) area += boxes[i].GetArea();
  Expect(2 * area == TwiceClockwiseArea(loop), "the boxes cover the loop's area");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  CPolygon2 polygon;
  in >> polygon;
  Expect(polygon.GetSize() <= kPolygonTextMaxVertices, "the vertex limit holds");

  assertionCount = 0;
  const quarn::AssertHandler previous = quarn::SetAssertHandler(&CountAssertion);
  if (quarn::CheckOutline(polygon).IsValid()) {
    ExpectDecomposition(polygon);
  } else {
    (void)polygon.GetAsBoxList();
  }
  quarn::SetAssertHandler(previous);
  return 0;
}
