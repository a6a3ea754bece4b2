#pragma once

// Validation of building outlines that come from outside: the outline file
// of the headless generator, and outlines the editor loads. Readers take text
// or a stream; opening files is the caller's business.

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "geom/cpolygon2.h"
#include "tlist.h"

namespace quarn {

// Largest coordinate magnitude an outline may use; the same limit as the
// polygon text reader's, so an outline the check accepts always reads back.
inline constexpr std::int32_t kOutlineCoordinateLimit = kPolygonTextMaxCoordinate;

// Verdict on one loop; the problem is empty when the loop is usable.
struct OutlineCheck {
  std::string problem;

  bool IsValid() const { return problem.empty(); }
};

// Checks that loop is a simple rectilinear polygon the generator can take:
// at least 4 vertices, coordinates within kOutlineCoordinateLimit, every edge
// of non-zero length and horizontal or vertical, no two consecutive edges
// running back over each other, and no two other edges crossing, touching or
// overlapping. A vertex in the middle of a straight run is allowed (the
// polygon decomposition removes it). Either orientation is accepted.
// The problem names the offending vertices as "(x,y)".
OutlineCheck CheckOutline(const CPolygon2& loop);

// Most cells the floor designer's lattices of one input may hold together
// (all its loops). The designer's time grows with about the square of the
// cell count: a 1024 x 1024 square (41,616 cells) took 6 s and a 1730 x 1730
// square (119,716 cells) 49 s of one core of a 2-core machine, so at this
// limit it designs for about a minute.
inline constexpr std::uint64_t kOutlineCellLimit = 120000;

// The cells of the floor designer's first lattice of loop, a loop that
// CheckOutline accepts, in either orientation: its box decomposition, sliced,
// with every box subdivided to the designer's cell size. Counted from the
// boxes, without cutting them into cells.
std::uint64_t CountOutlineCells(const CPolygon2& loop);

// Checks that the loops hold at most kOutlineCellLimit cells together. A
// loop whose area alone needs too many cells is refused without decomposing
// it, so even the largest outline is refused at once.
OutlineCheck CheckOutlineCells(const TList<CPolygon2>& loops);

// One line of an outline file.
struct OutlineLine {
  enum class Kind { Blank, Loop, Bad };

  Kind kind = Kind::Blank;
  CPolygon2 loop;       // Kind::Loop: the vertices in the order written
  std::string problem;  // Kind::Bad: what is wrong, with its column
};

// Parses one line of the polygon text form, "(x,y)(x,y)...*". White space is
// allowed around every token (the form itself writes none). A line that is
// empty, white space or a lone "*" (an empty loop) is Blank. Each coordinate
// must lie within kOutlineCoordinateLimit. The shape is not checked here.
OutlineLine ParseOutlineLine(std::string_view line);

// Every loop of an outline file in file order, each checked and turned
// clockwise (a counter-clockwise loop is reversed, as the editor stores
// loops), or the first problem. problemLine is the 1-based line of the
// problem, or 0 when it concerns the whole input (no loop at all, or more
// cells than CheckOutlineCells allows).
struct OutlineFile {
  TList<CPolygon2> loops;
  int problemLine = 0;
  std::string problem;

  bool IsValid() const { return problem.empty(); }
};

// Reads one loop a line until the end of the stream.
OutlineFile ReadOutlineFile(std::istream& in);

}  // namespace quarn
