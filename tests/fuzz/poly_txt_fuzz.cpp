// The polygon bench's loading of its polygon file on arbitrary bytes,
// followed by every key that works on the loaded polygon (splits in and out,
// extents, decomposition, print). Any polygon may be loaded, so assertions
// are counted, not fatal: the bench must only carry on without a fault.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "app/ckeyset.h"
#include "app/cmousestate.h"
#include "app/ctestpolygon2.h"
#include "qassert.h"

namespace {

void IgnoreAssertion(const char*, int) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const quarn::AssertHandler previous = quarn::SetAssertHandler(&IgnoreAssertion);
  std::ostream silent(nullptr);
  CTestPolygon2 bench(silent);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  bench.LoadPolygon(in);

  CMouseState mouse;
  CKeySet keys;
  for (const char key : std::string("EJEKBEO")) {
    keys.Press(key);
    bench.Update(mouse, keys);
    keys.ClearPressed();
    mouse.EndFrame();
  }
  quarn::SetAssertHandler(previous);
  return 0;
}
