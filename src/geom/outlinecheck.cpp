#include "geom/outlinecheck.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "geom/clattice2.h"

namespace quarn {
namespace {

// Appended piece by piece: GCC 12 at -O3 misreads the chained operator+ of
// a short literal and a temporary as an overlapping copy (-Wrestrict).
std::string PointText(const CPoint2& p) {
  std::string text = "(";
  text += std::to_string(p.x);
  text += ',';
  text += std::to_string(p.y);
  text += ')';
  return text;
}

std::string EdgeText(const CPoint2& from, const CPoint2& to) {
  return PointText(from) + "-" + PointText(to);
}

bool WithinLimit(std::int64_t coordinate) {
  return coordinate >= -kOutlineCoordinateLimit && coordinate <= kOutlineCoordinateLimit;
}

// One edge of a loop with its closed bounding box, which for a horizontal or
// vertical edge is the edge itself.
struct Segment {
  CPoint2 from;
  CPoint2 to;
  std::int32_t minX, minY, maxX, maxY;

  Segment(const CPoint2& a, const CPoint2& b)
      : from(a),
        to(b),
        minX(std::min(a.x, b.x)),
        minY(std::min(a.y, b.y)),
        maxX(std::max(a.x, b.x)),
        maxY(std::max(a.y, b.y)) {}

  bool IsHorizontal() const { return from.y == to.y; }
  // +1 or -1 along the edge's axis.
  int Direction() const {
    return IsHorizontal() ? (to.x > from.x ? 1 : -1) : (to.y > from.y ? 1 : -1);
  }
  bool Meets(const Segment& o) const {
    return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
  }
  // The lowest point both closed segments share; only valid when they meet.
  CPoint2 FirstCommonPoint(const Segment& o) const {
    return CPoint2(std::max(minX, o.minX), std::max(minY, o.minY));
  }
};

std::string CheckEdge(const Segment& s) {
  if (s.from == s.to) return "edge " + EdgeText(s.from, s.to) + " has zero length";
  if (s.from.x != s.to.x && s.from.y != s.to.y) {
    return "edge " + EdgeText(s.from, s.to) + " is neither horizontal nor vertical";
  }
  return {};
}

// Consecutive edges on one line in opposite directions fold the outline back
// onto itself: the loop would enclose a sliver of zero width.
bool DoublesBack(const Segment& a, const Segment& b) {
  return a.IsHorizontal() == b.IsHorizontal() && a.Direction() != b.Direction();
}

}  // namespace

OutlineCheck CheckOutline(const CPolygon2& loop) {
  const int n = loop.GetSize();
  if (n < 4) {
    return {"a loop needs at least 4 vertices, this one has " + std::to_string(n)};
  }
  for (int i = 0; i < n; ++i) {
    if (!WithinLimit(loop[i].x) || !WithinLimit(loop[i].y)) {
      return {"vertex " + PointText(loop[i]) + " lies beyond the coordinate limit of " +
              std::to_string(kOutlineCoordinateLimit)};
    }
  }
  std::vector<Segment> edges;
  edges.reserve(n);
  for (int i = 0; i < n; ++i) edges.emplace_back(loop[i], loop[(i + 1) % n]);

  for (const Segment& edge : edges) {
    if (std::string problem = CheckEdge(edge); !problem.empty()) return {problem};
  }
  for (int i = 0; i < n; ++i) {
    const Segment& a = edges[i];
    const Segment& b = edges[(i + 1) % n];
    if (DoublesBack(a, b)) {
      return {"edges " + EdgeText(a.from, a.to) + " and " + EdgeText(b.from, b.to) +
              " run back over each other"};
    }
  }
  for (int i = 0; i < n; ++i) {
    // Edges i - 1 and i + 1 share a vertex with edge i by construction.
    const int last = (i == 0) ? n - 2 : n - 1;
    for (int j = i + 2; j <= last; ++j) {
      if (edges[i].Meets(edges[j])) {
        return {"edges " + EdgeText(edges[i].from, edges[i].to) + " and " +
                EdgeText(edges[j].from, edges[j].to) + " cross or touch at " +
                PointText(edges[i].FirstCommonPoint(edges[j]))};
      }
    }
  }
  return {};
}

std::uint64_t CountOutlineCells(const CPolygon2& loop) {
  CPolygon2 clockwise = loop;
  if (!clockwise.IsClockwise()) clockwise.Reverse();
  // The boxes the designer's first lattice starts from (see CLattice2).
  CBox2List boxes = clockwise.GetAsBoxList();
  boxes.Slice();
  std::uint64_t cells = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) {
    cells += CountSubdivided(boxes[i], kCellMaxSize, kCellStep);
  }
  return cells;
}

namespace {

// No cell is larger than kCellMaxSize squared, so the area gives a lower
// bound of the cells in time linear in the vertices.
std::uint64_t FewestCells(const CPolygon2& loop) {
  std::int64_t twiceArea = 0;
  for (int i = 0; i < loop.GetSize(); ++i) {
    const CPoint2 a = loop[i];
    const CPoint2 b = loop[loop.GetNext(i)];
    twiceArea += std::int64_t{b.x} * a.y - std::int64_t{a.x} * b.y;
  }
  const auto area = static_cast<std::uint64_t>(twiceArea < 0 ? -twiceArea : twiceArea) / 2;
  constexpr std::uint64_t kLargestCell = std::uint64_t{kCellMaxSize} * kCellMaxSize;
  return (area + kLargestCell - 1) / kLargestCell;
}

OutlineCheck TooManyCells(std::uint64_t atLeast) {
  return {"the outline would have at least " + std::to_string(atLeast) +
          " cells; the designer takes at most " + std::to_string(kOutlineCellLimit)};
}

}  // namespace

OutlineCheck CheckOutlineCells(const TList<CPolygon2>& loops) {
  std::uint64_t cells = 0;
  for (int i = 0; i < loops.GetSize(); ++i) {
    if (const std::uint64_t fewest = cells + FewestCells(loops[i]); fewest > kOutlineCellLimit) {
      return TooManyCells(fewest);
    }
    cells += CountOutlineCells(loops[i]);
    if (cells > kOutlineCellLimit) return TooManyCells(cells);
  }
  return {};
}

namespace {

// Reads the polygon text form from one line, token by token, remembering the
// column for the messages.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == text_.size();
  }
  bool Accept(char c) {
    SkipSpace();
    if (pos_ == text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  // "expected 'c' at column k, found ..." for the current position.
  std::string Expected(std::string_view what) {
    SkipSpace();
    return "expected " + std::string(what) + " at column " + std::to_string(pos_ + 1) + ", found " +
           Found();
  }
  // An optionally signed decimal integer within the coordinate limit; on
  // failure the message says why.
  bool Coordinate(std::int32_t& value, std::string& problem) {
    SkipSpace();
    const std::size_t start = pos_;
    std::size_t p = pos_;
    const bool negative = p < text_.size() && text_[p] == '-';
    if (p < text_.size() && (text_[p] == '-' || text_[p] == '+')) ++p;
    const std::size_t digitsStart = p;
    std::int64_t magnitude = 0;
    while (p < text_.size() && text_[p] >= '0' && text_[p] <= '9') {
      // Saturate far above the limit so that long digit strings cannot overflow.
      magnitude = std::min<std::int64_t>(magnitude * 10 + (text_[p] - '0'), 1'000'000'000);
      ++p;
    }
    if (p == digitsStart) {
      problem = Expected("a whole number");
      return false;
    }
    pos_ = p;
    if (!WithinLimit(magnitude)) {
      problem = "coordinate " + Shortened(text_.substr(start, p - start)) + " at column " +
                std::to_string(start + 1) + " lies beyond the limit of " +
                std::to_string(kOutlineCoordinateLimit);
      return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
  }

 private:
  static bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
  }
  static std::string Shortened(std::string_view digits) {
    return digits.size() <= 16 ? std::string(digits) : std::string(digits.substr(0, 16)) + "...";
  }
  // The character at the current position, quoted when printable, so the
  // message stays on one line whatever the input holds.
  std::string Found() const {
    if (pos_ == text_.size()) return "the end of the line";
    const auto c = static_cast<unsigned char>(text_[pos_]);
    if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    return "byte " + std::to_string(c);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

OutlineLine Bad(std::string problem) {
  OutlineLine line;
  line.kind = OutlineLine::Kind::Bad;
  line.problem = std::move(problem);
  return line;
}

}  // namespace

OutlineLine ParseOutlineLine(std::string_view text) {
  LineReader reader(text);
  OutlineLine line;
  if (reader.AtEnd()) return line;
  while (!reader.Accept('*')) {
    if (!reader.Accept('(')) return Bad(reader.Expected("'(' or the closing '*'"));
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::string problem;
    if (!reader.Coordinate(x, problem)) return Bad(problem);
    if (!reader.Accept(',')) return Bad(reader.Expected("','"));
    if (!reader.Coordinate(y, problem)) return Bad(problem);
    if (!reader.Accept(')')) return Bad(reader.Expected("')'"));
    line.loop.Add(CPoint2(x, y));
  }
  if (!reader.AtEnd()) return Bad(reader.Expected("the end of the line after '*'"));
  line.kind = line.loop.GetSize() == 0 ? OutlineLine::Kind::Blank : OutlineLine::Kind::Loop;
  return line;
}

OutlineFile ReadOutlineFile(std::istream& in) {
  OutlineFile file;
  std::string text;
  int lineNumber = 0;
  while (std::getline(in, text)) {
    ++lineNumber;
    OutlineLine line = ParseOutlineLine(text);
    if (line.kind == OutlineLine::Kind::Blank) continue;
    if (line.kind == OutlineLine::Kind::Loop) {
      line.problem = CheckOutline(line.loop).problem;
    }
    if (!line.problem.empty()) {
      file.loops.Clear();
      file.problemLine = lineNumber;
      file.problem = line.problem;
      return file;
    }
    if (!line.loop.IsClockwise()) line.loop.Reverse();
    file.loops.Add(line.loop);
  }
  if (in.bad()) {
    file.problemLine = lineNumber + 1;
    file.problem = "the input could not be read";
  } else if (file.loops.GetSize() == 0) {
    file.problem = "no outline loop found";
  } else if (OutlineCheck size = CheckOutlineCells(file.loops); !size.IsValid()) {
    file.loops.Clear();
    file.problem = std::move(size.problem);
  }
  return file;
}

}  // namespace quarn
