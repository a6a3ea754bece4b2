#include "geom/cpolygon2.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <utility>

#include "qassert.h"

namespace {

// The answer of RemoveTopBox when there is nothing to cut.
constexpr CPoint2 kHugeBoxMin(-37707, -37707);
constexpr CPoint2 kHugeBoxMax(37707, 37707);

bool StrictlyBetween(int value, int a, int b) {
  return (a < value && value < b) || (a > value && value > b);
}

void AppendDecimal(std::string& text, int value) {
  char digits[16];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, end.ptr);
}

}  // namespace

CPolygon2::CPolygon2(std::initializer_list<CPoint2> vertices) {
  for (const CPoint2& v : vertices) Add(v);
}

CPolygon2::CPolygon2(const TList<CPoint2>& vertices) : TList<CPoint2>(vertices) {}

int CPolygon2::GetNext(int i) const { return i < GetSize() - 1 ? i + 1 : 0; }

int CPolygon2::GetPrev(int i) const { return i > 0 ? i - 1 : GetSize() - 1; }

CEdge2 CPolygon2::GetEdge(int i) const {
  QUARN_ASSERT_FATAL(i < GetSize());
  const CPoint2 from = (*this)[i];
  return CEdge2(from, (*this)[GetNext(i)]);
}

CBox2 CPolygon2::GetExtents() const {
  CPoint2 low = (*this)[0];
  CPoint2 high = low;
  for (int i = 0; i < GetSize(); ++i) {
    low = Min(low, (*this)[i]);
    high = Max(high, (*this)[i]);
  }
  return CBox2(low, high);
}

bool CPolygon2::IsClockwise() const {
  if (!QUARN_ASSERT(GetSize() > 0)) return false;
  int top = (*this)[0].y;
  for (int i = 0; i < GetSize(); ++i) top = std::max(top, (*this)[i].y);
  for (int i = 0; i < GetSize(); ++i) {
    const CPoint2 a = (*this)[i];
    const CPoint2 b = (*this)[GetNext(i)];
    if (a.y == top && b.y == top && a.x != b.x) return a.x < b.x;
  }
  QUARN_ASSERT(false);
  return false;
}

bool CPolygon2::Contains(const CPoint2& point) const { return IndexOf(point) != TLIST_NO_INDEX; }

void CPolygon2::InsertAfter(int i, const CPoint2& point) {
  if (i + 1 == GetSize()) {
    Add(point);
  } else {
    InsertAt(i + 1, point);
  }
}

void CPolygon2::InsertSplits(int axis) {
  const CPolygon2 original = *this;
  for (int k = 0; k < original.GetSize(); ++k) {
    const int cut = original[k][axis];
    for (int i = 0; i < GetSize(); ++i) {
      const CPoint2 from = (*this)[i];
      if (StrictlyBetween(cut, from[axis], (*this)[GetNext(i)][axis])) {
        CPoint2 split = from;
        split[axis] = cut;
        InsertAfter(i, split);
      }
    }
  }
}

void CPolygon2::RemoveSplits(int axis) {
  int i = 0;
  while (i < GetSize() && GetSize() > 3) {
    const int before = (*this)[GetPrev(i)][axis];
    const int here = (*this)[i][axis];
    const int after = (*this)[GetNext(i)][axis];
    if (before == here && here == after) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void CPolygon2::InsertSplitsFrom(const CPolygon2& other) {
  for (int i = 0; i < GetSize(); ++i) {
    for (int k = 0; k < other.GetSize(); ++k) {
      const CPoint2 q = other[k];
      for (int axis = 0; axis < 2; ++axis) {
        const CPoint2 p = (*this)[i];
        const CPoint2 r = (*this)[GetNext(i)];
        const int along = 1 - axis;
        if (p[axis] == q[axis] && q[axis] == r[axis] &&
            StrictlyBetween(q[along], p[along], r[along])) {
          InsertAfter(i, q);
        }
      }
    }
  }
}

std::optional<TList<CPolygon2>> CPolygon2::SplitAtSeam() const {
  const int n = GetSize();
  if (n < 4) return std::nullopt;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const CPoint2 a = (*this)[j];
      const CPoint2 b = (*this)[GetNext(i)];
      const CPoint2 c = (*this)[i];
      const CPoint2 d = (*this)[GetNext(j)];
      const bool onOneLine = a.y == b.y && b.y == c.y && c.y == d.y;
      if (!onOneLine || !(a.x < b.x && b.x < c.x && c.x < d.x)) continue;
      // Edge i runs back inside edge j: the outline is two outlines joined
      // along the seam, one on each side.
      TList<CPolygon2> result;
      for (const auto& [first, last] : {std::pair{GetNext(i), j}, std::pair{GetNext(j), i}}) {
        CPolygon2 side;
        for (int v = first;; v = GetNext(v)) {
          side.Add((*this)[v]);
          if (v == last) break;
        }
        if (std::optional<TList<CPolygon2>> parts = side.SplitAtSeam()) {
          result.AddList(*parts);
        } else {
          result.Add(side);
        }
      }
      return result;
    }
  }
  return std::nullopt;
}

std::optional<CBox2> CPolygon2::CutTopBox() {
  if (!QUARN_ASSERT(GetSize() > 3)) return std::nullopt;
  RemoveSplits(0);
  RemoveSplits(1);
  InsertSplits(1);
  const int top = GetExtents().GetMax().y;
  for (int i = 0; i < GetSize(); ++i) {
    if ((*this)[i].y != top || (*this)[GetNext(i)].y != top) continue;
    // After InsertSplits the vertex before i lies directly below it on the
    // next y level, so the two corners span the strip under the top edge.
    const CPoint2 below = (*this)[GetPrev(i)];
    const CBox2 strip(below, (*this)[GetNext(i)]);
    RemoveAt(i);
    RemoveAt(i == GetSize() ? 0 : i);
    return strip;
  }
  QUARN_ASSERT(false);
  return std::nullopt;
}

CBox2 CPolygon2::RemoveTopBox() { return CutTopBox().value_or(CBox2(kHugeBoxMin, kHugeBoxMax)); }

CBox2List CPolygon2::GetAsBoxList() const {
  CBox2List result;
  CPolygon2 rest = *this;
  while (rest.GetSize() >= 4) {
    std::optional<CBox2> strip = rest.CutTopBox();
    if (!strip) break;
    result.Add(*strip);
    if (std::optional<TList<CPolygon2>> parts = rest.SplitAtSeam()) {
      for (int k = 0; k < parts->GetSize(); ++k) result.AddList((*parts)[k].GetAsBoxList());
      break;
    }
  }
  return result;
}

bool operator==(const CPolygon2& a, const CPolygon2& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

bool operator!=(const CPolygon2& a, const CPolygon2& b) { return !(a == b); }

std::ostream& operator<<(std::ostream& os, const CPolygon2& polygon) {
  // Written with to_chars so the file form does not depend on the stream's locale.
  std::string text;
  for (int i = 0; i < polygon.GetSize(); ++i) {
    const CPoint2 v = polygon[i];
    text += '(';
    AppendDecimal(text, v.x);
    text += ',';
    AppendDecimal(text, v.y);
    text += ')';
  }
  text += '*';
  return os << text;
}

std::istream& operator>>(std::istream& is, CPolygon2& polygon) {
  polygon.Clear();
  char open = 0, comma = 0, close = 0;
  int x = 0, y = 0;
  while (is >> open >> x >> comma >> y >> close) {
    const bool inRange = std::abs(x) <= kPolygonTextMaxCoordinate &&
                         std::abs(y) <= kPolygonTextMaxCoordinate &&
                         polygon.GetSize() < kPolygonTextMaxVertices;
    if (!inRange) {
      is.setstate(std::ios::failbit);
      break;
    }
    polygon.Add(CPoint2(x, y));
  }
  return is;
}
