// The editor's loading of its outline file on arbitrary bytes: it either
// restores every loop of the file, so that saving and loading again gives the
// same loops, or refuses and leaves the editor exactly as it was. No
// assertion may fire either way.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/cmodeinput.h"
#include "fuzz/fuzz_support.h"
#include "geom/outlinecheck.h"

namespace {

using quarn::fuzz::Expect;

// What the editor holds before the load: one closed loop and an open one.
constexpr const char* kEarlierState = "(0,0)(0,2)(2,2)(2,0)*\n(5,0)(5,3)*\n";

std::string Saved(const CModeInput& editor) {
  std::ostringstream out;
  editor.WriteLoops(out);
  return out.str();
}

void ExpectRestored(const CModeInput& editor) {
  const TList<CPolygon2> closed = editor.GetLoops();
  for (int i = 0; i < closed.GetSize(); ++i) {
    Expect(quarn::CheckOutline(closed[i]).IsValid(), "a restored loop passes the check");
    Expect(closed[i].IsClockwise(), "a restored loop is clockwise");
  }
  CModeInput reloaded;
  std::istringstream again(Saved(editor));
  Expect(reloaded.ReadLoops(again).empty(), "the saved loops load again");
  Expect(Saved(reloaded) == Saved(editor), "the reload gives the same loops");
  const CPolygon2& open = editor.GetCurrentLoop();
  if (open.GetSize() > 0) {
    Expect(editor.GetCursor() == open[open.GetSize() - 1], "the cursor is on the last vertex");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quarn::fuzz::AbortOnAssertions();
  CModeInput editor;
  std::istringstream earlier(kEarlierState);
  Expect(editor.ReadLoops(earlier).empty(), "the earlier state loads");
  const std::string before = Saved(editor);
  const CPoint2 cursorBefore = editor.GetCursor();

  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  if (editor.ReadLoops(in).empty()) {
    ExpectRestored(editor);
  } else {
    Expect(Saved(editor) == before, "a refused file leaves the loops untouched");
    Expect(editor.GetCursor() == cursorBefore, "a refused file leaves the cursor untouched");
  }
  return 0;
}
