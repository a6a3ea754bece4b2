#include "geom/cbox2list.h"

void CBox2List::Print(std::ostream& os) const {
  os << "  size: " << GetSize() << '\n' << std::flush;
  os << "  exact neighbours: ";
  for (Side s = 0; s < 4; ++s) {
    int linked = 0;
    for (int i = 0; i < GetSize(); ++i) {
      if ((*this)[i].GetNeighbour(s)) ++linked;
    }
    os << kSideLetters[s] << '=' << linked << "  ";
  }
  os << '\n' << std::flush;
}

std::ostream& operator<<(std::ostream& os, const CBox2List& list) {
  os << '[';
  for (int i = 0; i < list.GetSize(); ++i) os << (i > 0 ? ", " : "") << list[i];
  return os << ']';
}
