#include "building/designrandom.h"

namespace quarn {

DesignRandom& TheDesignRandom() {
  static DesignRandom generator;
  return generator;
}

}  // namespace quarn
