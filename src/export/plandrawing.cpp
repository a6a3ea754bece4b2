#include "export/plandrawing.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "building/cwall.h"
#include "programme/programme.h"

namespace quarn {
namespace {

// The plan cuts the walls at this height: above window sills, below lintels.
constexpr double kSectionHeight = 0.75;
// Half the distance between the two lines that bridge a window.
constexpr double kWindowLineOffset = 0.06;
// Share of white mixed into a room's design colour.
constexpr float kFillLightening = 0.55f;

// Page layout in device units: pixels for SVG and PNG, points for PDF.
constexpr double kMargin = 24;
constexpr double kTitleSize = 14;
constexpr double kCaptionSize = 11;
constexpr double kCaptionBlock = 2 * kCaptionSize;  // the caption above a storey's plan
constexpr double kPanelGap = 24;
constexpr double kScaleBarHeight = 6;
constexpr double kScaleBarTextSize = 10;
constexpr double kMinLabelSize = 7;
constexpr double kMaxLabelSize = 12;
constexpr double kLabelSizePerScale = 0.55;
// Keeps a PNG page within a quarter gigabyte while it is drawn.
constexpr int kMaxPngSide = 8192;

// A4 in points, and the largest PDF scale: one centimetre per grid unit.
constexpr double kA4Short = 595.276;
constexpr double kA4Long = 841.89;
constexpr double kMaxPdfScale = 28.3465;

constexpr CColour kPaper(0.94f, 0.94f, 0.92f);
constexpr CColour kInk(0.12f, 0.12f, 0.14f);
constexpr CColour kIncompleteRoom(0.5f, 0.5f, 0.5f);
constexpr double kCandidateAlpha = 0.5;

// An axis-aligned rectangle in grid units.
struct Extents {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  double Width() const { return x1 - x0; }
  double Height() const { return y1 - y0; }
};

Extents Union(const Extents& a, const Extents& b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
          std::max(a.y1, b.y1)};
}

Extents ExtentsOf(const CBox2& box) {
  return {static_cast<double>(box.GetMin().x), static_cast<double>(box.GetMin().y),
          static_cast<double>(box.GetMax().x), static_cast<double>(box.GetMax().y)};
}

// What a storey covers: its rooms and its pending regions.
std::optional<Extents> StoreyExtents(const CFloor& floor) {
  std::optional<Extents> extents;
  const auto add = [&extents](const CBox2& box) {
    extents = extents ? Union(*extents, ExtentsOf(box)) : ExtentsOf(box);
  };
  for (int i = 0; i < floor.rooms.GetSize(); ++i) add(floor.rooms[i].wallOutline.GetExtents());
  for (int i = 0; i < floor.pendingRegions.GetSize(); ++i) {
    const CLattice2& region = floor.pendingRegions[i];
    for (int k = 0; k < region.GetSize(); ++k) add(region[k]);
  }
  return extents;
}

// All storeys of a building share one frame, so stacked plans line up.
Extents BuildingExtents(const TList<CFloor>& floors) {
  std::optional<Extents> extents;
  for (int i = 0; i < floors.GetSize(); ++i) {
    if (const auto storey = StoreyExtents(floors[i])) {
      extents = extents ? Union(*extents, *storey) : *storey;
    }
  }
  return extents.value_or(Extents{0, 0, 1, 1});
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

void SetColour(cairo_t* cr, const CColour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void SetFont(cairo_t* cr, double size, cairo_font_weight_t weight) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, weight);
  cairo_set_font_size(cr, size);
}

// Starts a new sub-path, so that no current point left by text joins it.
void PolygonPath(cairo_t* cr, const CPolygon2& polygon) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < polygon.GetSize(); ++i) {
    cairo_line_to(cr, polygon[i].x, polygon[i].y);
  }
  cairo_close_path(cr);
}

void BoxPath(cairo_t* cr, const CBox2& box) {
  const Extents e = ExtentsOf(box);
  cairo_rectangle(cr, e.x0, e.y0, e.Width(), e.Height());
}

// Text centred on (x, y) in device units, whatever the current transformation.
void CentredText(cairo_t* cr, double x, double y, const std::string& text) {
  cairo_text_extents_t size;
  cairo_text_extents(cr, text.c_str(), &size);
  cairo_move_to(cr, x - size.x_advance / 2, y + size.height / 2);
  cairo_show_text(cr, text.c_str());
}

// Width of text in the current font.
double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t size;
  cairo_text_extents(cr, text.c_str(), &size);
  return size.x_advance;
}

struct Interval {
  double from;
  double to;
};

// The stretches of a wall's length that no piece reaching through the
// section covers: its door or window as the plan sees it. axis is the axis
// the wall runs along.
std::vector<Interval> OpeningsAtSection(const CWall& wall, const TList<CBox3>& pieces,
                                        unsigned axis) {
  const CBox3 solid = wall.GetSolidBox();
  std::vector<Interval> cut;
  for (int i = 0; i < pieces.GetSize(); ++i) {
    const CBox3& piece = pieces[i];
    if (piece.GetMin().z < kSectionHeight && piece.GetMax().z > kSectionHeight) {
      cut.push_back({piece.GetMin()[axis], piece.GetMax()[axis]});
    }
  }
  std::sort(cut.begin(), cut.end(), [](Interval a, Interval b) { return a.from < b.from; });
  std::vector<Interval> openings;
  double reached = solid.GetMin()[axis];
  constexpr double kTolerance = 1e-4;
  for (const Interval& piece : cut) {
    if (piece.from > reached + kTolerance) openings.push_back({reached, piece.from});
    reached = std::max(reached, piece.to);
  }
  if (solid.GetMax()[axis] > reached + kTolerance) openings.push_back({reached, solid.GetMax()[axis]});
  return openings;
}

// What finishing and the programme add to one storey's plan: the
// building's finishing, its types and the storey's number.
struct StoreyFinishing {
  const FinishedBuilding* building = nullptr;
  int storey = 0;
  const TypedBuilding* typed = nullptr;
};

// The layers above the design that a plan shows, per building (null: none).
struct PlanLayers {
  const std::vector<FinishedBuilding>* finished = nullptr;
  const std::vector<TypedBuilding>* typed = nullptr;
};

const FinishedBuilding* FinishedOf(const PlanLayers& layers, int building) {
  if (layers.finished == nullptr || static_cast<std::size_t>(building) >= layers.finished->size()) {
    return nullptr;
  }
  return &(*layers.finished)[static_cast<std::size_t>(building)];
}

const TypedBuilding* TypedOf(const PlanLayers& layers, int building) {
  if (layers.typed == nullptr || FinishedOf(layers, building) == nullptr ||
      static_cast<std::size_t>(building) >= layers.typed->size()) {
    return nullptr;
  }
  return &(*layers.typed)[static_cast<std::size_t>(building)];
}

StoreyFinishing StoreyLayers(const PlanLayers& layers, int building, int storey) {
  return {FinishedOf(layers, building), storey, TypedOf(layers, building)};
}

// The type of a room of a typed storey, or none.
std::optional<RoomType> TypeOf(const StoreyFinishing& finishing, int room) {
  if (finishing.typed == nullptr) return std::nullopt;
  const auto k = static_cast<std::size_t>(finishing.storey);
  const auto r = static_cast<std::size_t>(room);
  if (k >= finishing.typed->types.size() || r >= finishing.typed->types[k].size()) return std::nullopt;
  return finishing.typed->types[k][r];
}

// A type's colour lightened as the design colours are, so labels read on it.
CColour TypeFill(RoomType type) {
  const CColour colour = GetRoomTypeColour(type);
  return colour * 0.8f + CColour(0.2f, 0.2f, 0.2f, 0.2f);
}

// One page's drawing of one storey: grid units mapped onto device units by
// scale, the frame's top-left corner at (left, top) on the page.
class StoreyPainter {
 public:
  StoreyPainter(cairo_t* cr, const Extents& frame, double left, double top, double scale)
      : cr_(cr), scale_(scale) {
    cairo_save(cr_);
    cairo_translate(cr_, left, top);
    cairo_scale(cr_, scale, -scale);
    cairo_translate(cr_, -frame.x0, -frame.y1);
  }
  ~StoreyPainter() { cairo_restore(cr_); }
  StoreyPainter(const StoreyPainter&) = delete;
  StoreyPainter& operator=(const StoreyPainter&) = delete;

  void Paint(const CFloor& floor, const StoreyFinishing& finishing = {}) {
    for (int i = 0; i < floor.rooms.GetSize(); ++i) {
      const std::optional<RoomType> type = TypeOf(finishing, i);
      SetColour(cr_, type ? TypeFill(*type) : PlanRoomFill(floor.rooms[i], static_cast<unsigned>(i)));
      PolygonPath(cr_, floor.rooms[i].wallOutline);
      cairo_fill(cr_);
    }
    PendingRegions(floor);
    Candidates(floor);
    const FinishedBuilding* finished = finishing.building;
    const auto k = static_cast<std::size_t>(finishing.storey);
    if (finished != nullptr && k > 0 && k - 1 < finished->stairs.size() && finished->stairs[k - 1]) {
      SlabOpening(finished->stairs[k - 1]->footprint);
    }
    if (finished != nullptr && k < finished->stairs.size() && finished->stairs[k]) {
      Flight(*finished->stairs[k]);
    }
    for (int i = 0; i < floor.walls.GetSize(); ++i) {
      const bool entrance = finished != nullptr && k == 0 && finished->entrance &&
                            finished->entrance->wall == i;
      Wall(floor.walls[i],
           finished ? GetTypedWallPieces(floor, *finished, finishing.typed, finishing.storey, i)
                    : floor.walls[i].pieces,
           entrance);
    }
    for (int i = 0; i < floor.rooms.GetSize(); ++i) {
      if (TypeOf(finishing, i)) {
        const auto k = static_cast<std::size_t>(finishing.storey);
        TypedLabel(floor.rooms[i], finishing.typed->names[k][static_cast<std::size_t>(i)],
                   finishing.typed->unit);
      } else {
        Label(floor.rooms[i], i);
      }
    }
  }

 private:
  // Line widths are given in device units.
  void SetLineWidth(double deviceWidth) { cairo_set_line_width(cr_, deviceWidth / scale_); }

  // Every cell outlined in the region's shade, the region's edge bolder.
  void PendingRegions(const CFloor& floor) {
    for (int i = 0; i < floor.pendingRegions.GetSize(); ++i) {
      const CLattice2& region = floor.pendingRegions[i];
      const CColour shade = PaletteShade(static_cast<unsigned>(i), 1);
      SetColour(cr_, CColour(shade.r, shade.g, shade.b));
      SetLineWidth(1);
      for (int k = 0; k < region.GetSize(); ++k) BoxPath(cr_, region[k]);
      cairo_stroke(cr_);
      SetLineWidth(2);
      PolygonPath(cr_, region.GetAsPolygon());
      cairo_stroke(cr_);
    }
  }

  // Cells the designer weighed for the stopped room, brighter the better.
  void Candidates(const CFloor& floor) {
    const int count = std::min(floor.candidateBoxes.GetSize(), floor.candidateScores.GetSize());
    for (int i = 0; i < count; ++i) {
      const double score = floor.candidateScores[i];
      cairo_set_source_rgba(cr_, score, score, score, kCandidateAlpha);
      BoxPath(cr_, floor.candidateBoxes[i]);
      cairo_fill(cr_);
    }
  }

  void Wall(const CWall& wall, const TList<CBox3>& pieces, bool entrance) {
    SetColour(cr_, kInk);
    for (int i = 0; i < pieces.GetSize(); ++i) {
      const CBox3& piece = pieces[i];
      if (piece.GetMin().z < kSectionHeight && piece.GetMax().z > kSectionHeight) {
        cairo_rectangle(cr_, piece.GetMin().x, piece.GetMin().y, piece.GetMax().x - piece.GetMin().x,
                        piece.GetMax().y - piece.GetMin().y);
      }
    }
    cairo_fill(cr_);
    const CPoint2 p1 = wall.edge.GetPoint(1);
    const CPoint2 p2 = wall.edge.GetPoint(2);
    const unsigned axis = p1.y == p2.y ? 0 : 1;
    for (const Interval& opening : OpeningsAtSection(wall, pieces, axis)) {
      if (wall.GetRoomCount() == 2 || entrance) {
        Door(p1, p2, axis, opening);
      } else {
        Window(p1, axis, opening);
      }
      if (entrance) EntranceArrow(p1, p2, axis, opening);
    }
  }

  // An arrow from outside through the doorway into the room, which lies
  // right of the edge's direction.
  void EntranceArrow(const CPoint2& p1, const CPoint2& p2, unsigned axis, const Interval& opening) {
    const double sign = (axis == 0 ? p2.x - p1.x : p2.y - p1.y) > 0 ? 1.0 : -1.0;
    const double in[2] = {axis == 1 ? sign : 0.0, axis == 0 ? -sign : 0.0};
    const double middle = (opening.from + opening.to) / 2;
    const double at[2] = {axis == 0 ? middle : p1.x, axis == 1 ? middle : p1.y};
    Arrow(at[0] - in[0] * 1.6, at[1] - in[1] * 1.6, at[0] - in[0] * 0.2, at[1] - in[1] * 0.2);
  }

  // A line from (x0, y0) to (x1, y1) with a filled head at its end.
  void Arrow(double x0, double y0, double x1, double y1) {
    const double length = std::hypot(x1 - x0, y1 - y0);
    if (length <= 0) return;
    const double dx = (x1 - x0) / length, dy = (y1 - y0) / length;
    constexpr double kHead = 0.35;
    SetColour(cr_, kInk);
    SetLineWidth(1.5);
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1 - dx * kHead, y1 - dy * kHead);
    cairo_stroke(cr_);
    cairo_move_to(cr_, x1, y1);
    cairo_line_to(cr_, x1 - dx * kHead - dy * kHead * 0.6, y1 - dy * kHead + dx * kHead * 0.6);
    cairo_line_to(cr_, x1 - dx * kHead + dy * kHead * 0.6, y1 - dy * kHead - dx * kHead * 0.6);
    cairo_close_path(cr_);
    cairo_fill(cr_);
  }

  // The flight on its lower storey: the footprint, a line at every tread's
  // front, an arrow up the flight and "UP" at its foot.
  void Flight(const Stair& stair) {
    const Extents e = ExtentsOf(stair.footprint);
    SetColour(cr_, kPaper);
    cairo_rectangle(cr_, e.x0, e.y0, e.Width(), e.Height());
    cairo_fill(cr_);
    SetColour(cr_, kInk);
    SetLineWidth(0.75);
    const bool alongX = GetSideAxis(stair.climb) == 0;
    for (int i = 0; i < stair.steps.GetSize(); ++i) {
      const CBox3& step = stair.steps[i];
      cairo_rectangle(cr_, step.GetMin().x, step.GetMin().y, step.GetMax().x - step.GetMin().x,
                      step.GetMax().y - step.GetMin().y);
    }
    cairo_stroke(cr_);
    SetLineWidth(1.5);
    cairo_rectangle(cr_, e.x0, e.y0, e.Width(), e.Height());
    cairo_stroke(cr_);
    const CBox2 foot = GetStairFoot(stair.footprint, stair.climb);
    const CBox2 head = GetStairHead(stair.footprint, stair.climb);
    const CVector2 from = foot.GetCentre();
    const CVector2 to = head.GetCentre();
    const double inset = 0.8;
    const double dx = alongX ? (to.x > from.x ? inset : -inset) : 0.0;
    const double dy = alongX ? 0.0 : (to.y > from.y ? inset : -inset);
    Arrow(from.x + dx, from.y + dy, to.x - dx, to.y - dy);
    double x = 0, y = 0;
    BeginText(from, x, y);
    CentredText(cr_, x, y, "UP");
    cairo_restore(cr_);
  }

  // Sets up text at a plan point, upright whatever the plan's frame: x and y
  // become the point in device units, the label font is set in ink; returns
  // its size. The caller restores the frame with cairo_restore.
  double BeginText(const CVector2& at, double& x, double& y) {
    x = at.x;
    y = at.y;
    cairo_user_to_device(cr_, &x, &y);
    const double size = std::clamp(kLabelSizePerScale * scale_, kMinLabelSize, kMaxLabelSize);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    SetColour(cr_, kInk);
    SetFont(cr_, size, CAIRO_FONT_WEIGHT_BOLD);
    return size;
  }

  // The hole a stair leaves in the floor above it: outlined and crossed.
  void SlabOpening(const CBox2& footprint) {
    const Extents e = ExtentsOf(footprint);
    SetColour(cr_, kPaper);
    cairo_rectangle(cr_, e.x0, e.y0, e.Width(), e.Height());
    cairo_fill(cr_);
    SetColour(cr_, kInk);
    SetLineWidth(1);
    cairo_rectangle(cr_, e.x0, e.y0, e.Width(), e.Height());
    cairo_move_to(cr_, e.x0, e.y0);
    cairo_line_to(cr_, e.x1, e.y1);
    cairo_move_to(cr_, e.x0, e.y1);
    cairo_line_to(cr_, e.x1, e.y0);
    cairo_stroke(cr_);
  }

  // The leaf hinges at the end of the opening met first along the edge and
  // swings into the first room, which lies right of the edge's direction
  // (room outlines run clockwise).
  void Door(const CPoint2& p1, const CPoint2& p2, unsigned axis, const Interval& opening) {
    const double sign = (axis == 0 ? p2.x - p1.x : p2.y - p1.y) > 0 ? 1.0 : -1.0;
    const double along[2] = {axis == 0 ? sign : 0.0, axis == 1 ? sign : 0.0};
    const double intoRoom[2] = {along[1], -along[0]};
    const double width = opening.to - opening.from;
    const double hingeAt = sign > 0 ? opening.from : opening.to;
    const double hinge[2] = {axis == 0 ? hingeAt : p1.x, axis == 1 ? hingeAt : p1.y};
    const double leafAngle = std::atan2(intoRoom[1], intoRoom[0]);
    SetColour(cr_, kInk);
    SetLineWidth(1.5);
    cairo_move_to(cr_, hinge[0], hinge[1]);
    cairo_line_to(cr_, hinge[0] + intoRoom[0] * width, hinge[1] + intoRoom[1] * width);
    cairo_stroke(cr_);
    SetLineWidth(0.75);
    cairo_arc(cr_, hinge[0], hinge[1], width, leafAngle, leafAngle + std::numbers::pi / 2);
    cairo_stroke(cr_);
  }

  void Window(const CPoint2& p1, unsigned axis, const Interval& opening) {
    SetColour(cr_, kInk);
    SetLineWidth(1);
    const double line = axis == 0 ? p1.y : p1.x;
    for (const double offset : {-kWindowLineOffset, kWindowLineOffset}) {
      if (axis == 0) {
        cairo_move_to(cr_, opening.from, line + offset);
        cairo_line_to(cr_, opening.to, line + offset);
      } else {
        cairo_move_to(cr_, line + offset, opening.from);
        cairo_line_to(cr_, line + offset, opening.to);
      }
    }
    cairo_stroke(cr_);
  }

  // Number and area at the centre of the room's largest box, which lies
  // inside the room even where the room is L-shaped.
  void Label(const CRoom& room, int number) {
    int area = 0;
    const std::optional<CVector2> at = LabelPoint(room, area);
    if (!at) return;
    TwoLines(*at, std::to_string(number), std::to_string(area) + " cells");
  }

  // Name and area in m² (at unit metres per grid unit) of a typed room.
  void TypedLabel(const CRoom& room, const std::string& name, float unit) {
    int area = 0;
    const std::optional<CVector2> at = LabelPoint(room, area);
    if (!at) return;
    const double metres = area * static_cast<double>(unit) * unit;
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, metres, std::chars_format::fixed,
                                    metres < 10 ? 1 : 0).ptr;
    TwoLines(*at, name, std::string(text, static_cast<std::size_t>(end - text)) + " m\u00b2");
  }

  // The centre of the room's largest box and the room's area in cells.
  static std::optional<CVector2> LabelPoint(const CRoom& room, int& area) {
    const CBox2List boxes = room.wallOutline.GetAsBoxList();
    if (boxes.GetSize() == 0) return std::nullopt;
    int largest = 0;
    for (int i = 0; i < boxes.GetSize(); ++i) {
      area += boxes[i].GetArea();
      if (boxes[i].GetArea() > boxes[largest].GetArea()) largest = i;
    }
    return boxes[largest].GetCentre();
  }

  void TwoLines(const CVector2& at, const std::string& first, const std::string& second) {
    double x = 0, y = 0;
    const double size = BeginText(at, x, y);
    CentredText(cr_, x, y - size * 0.6, first);
    SetFont(cr_, size * 0.85, CAIRO_FONT_WEIGHT_NORMAL);
    CentredText(cr_, x, y + size * 0.6, second);
    cairo_restore(cr_);
  }

  cairo_t* cr_;
  double scale_;
};

// The largest of 1, 2 and 5 times a power of ten not above limit (at least 1).
int ScaleBarLength(double limit) {
  int best = 1;
  for (int power = 1; power <= 100000; power *= 10) {
    for (const int step : {1, 2, 5}) {
      if (step * power <= limit) best = step * power;
    }
  }
  return best;
}

// A bar of alternating segments, length grid units long, its left end at
// (left, top), labelled below.
void DrawScaleBar(cairo_t* cr, double left, double top, double scale, double availableWidth) {
  const int length = ScaleBarLength(availableWidth / scale / 3);
  const int segments = length % 5 == 0 ? 5 : length;
  const double segment = length * scale / segments;
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < segments; ++i) {
    cairo_rectangle(cr, left + i * segment, top, segment, kScaleBarHeight);
    SetColour(cr, i % 2 == 0 ? kInk : CColour(1, 1, 1));
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_stroke(cr);
  }
  SetFont(cr, kScaleBarTextSize, CAIRO_FONT_WEIGHT_NORMAL);
  const double textTop = top + kScaleBarHeight + 4 + kScaleBarTextSize * 0.8;
  cairo_move_to(cr, left, textTop);
  cairo_show_text(cr, "0");
  const std::string end = std::to_string(length) + " grid units";
  cairo_move_to(cr, left + length * scale - TextWidth(cr, "0") / 2, textTop);
  cairo_show_text(cr, end.c_str());
}

constexpr double kScaleBarBlock = kScaleBarHeight + 6 + kScaleBarTextSize;

void DrawTitle(cairo_t* cr, double left, double top, const std::string& text) {
  SetColour(cr, kInk);
  SetFont(cr, kTitleSize, CAIRO_FONT_WEIGHT_BOLD);
  cairo_move_to(cr, left, top + kTitleSize);
  cairo_show_text(cr, text.c_str());
}

std::string StoreyName(int building, int storey) {
  return "building " + std::to_string(building) + ", storey " + std::to_string(storey);
}

// The storey's name, and what it lacks once finished.
std::string StoreyCaption(int building, int storey, const FinishedBuilding* finished) {
  std::string caption = StoreyName(building, storey);
  if (finished == nullptr) return caption;
  const auto k = static_cast<std::size_t>(storey);
  if (storey == 0 && !finished->entrance) caption += " \u00b7 no entrance";
  if (k < finished->stairs.size() && !finished->stairs[k]) caption += " \u00b7 no stair up";
  return caption;
}

std::string StepsText(const PlanTitle& title) { return "step " + title.steps; }

constexpr double kLineStep = kCaptionSize * 1.4;
constexpr double kSwatch = kCaptionSize;
constexpr double kSwatchGap = 14;

// The caption lines under a typed building: its programme and whether
// every goal is met, then one line a goal it misses.
std::vector<std::string> ProgrammeLines(const TypedBuilding* typed) {
  if (typed == nullptr) return {};
  if (typed->unmet.empty()) return {typed->programme + " programme: every goal met"};
  std::vector<std::string> lines{typed->programme + " programme, unmet:"};
  for (const std::string& unmet : typed->unmet) lines.push_back("\u00b7 " + unmet);
  return lines;
}

double ProgrammeBlock(const TypedBuilding* typed) {
  const std::size_t lines = ProgrammeLines(typed).size();
  return lines == 0 ? 0 : static_cast<double>(lines) * kLineStep + kPanelGap / 2;
}

void DrawLines(cairo_t* cr, double left, double top, const std::vector<std::string>& lines) {
  SetColour(cr, kInk);
  SetFont(cr, kCaptionSize, CAIRO_FONT_WEIGHT_NORMAL);
  for (const std::string& line : lines) {
    cairo_move_to(cr, left, top + kCaptionSize);
    cairo_show_text(cr, line.c_str());
    top += kLineStep;
  }
}

// The types of the rooms of buildings first to last, in type order.
std::vector<RoomType> TypesShown(const PlanLayers& layers, int first, int last) {
  std::vector<bool> shown(kRoomTypeCount, false);
  for (int b = first; b <= last; ++b) {
    const TypedBuilding* typed = TypedOf(layers, b);
    if (typed == nullptr) continue;
    for (const auto& storey : typed->types) {
      for (const std::optional<RoomType>& type : storey) {
        if (type) shown[static_cast<std::size_t>(*type)] = true;
      }
    }
  }
  std::vector<RoomType> types;
  for (int t = 0; t < kRoomTypeCount; ++t) {
    if (shown[static_cast<std::size_t>(t)]) types.push_back(static_cast<RoomType>(t));
  }
  return types;
}

// The legend's entries, a swatch of the type's fill and its name, in rows
// no wider than width.
std::vector<std::vector<RoomType>> LegendRows(cairo_t* cr, const std::vector<RoomType>& types,
                                              double width) {
  SetFont(cr, kCaptionSize, CAIRO_FONT_WEIGHT_NORMAL);
  std::vector<std::vector<RoomType>> rows;
  double used = 0;
  for (const RoomType type : types) {
    const double entry = kSwatch + 4 + TextWidth(cr, GetRoomTypeName(type)) + kSwatchGap;
    if (rows.empty() || (used + entry > width && !rows.back().empty())) {
      rows.emplace_back();
      used = 0;
    }
    rows.back().push_back(type);
    used += entry;
  }
  return rows;
}

double LegendBlock(const std::vector<std::vector<RoomType>>& rows) {
  return rows.empty() ? 0 : static_cast<double>(rows.size()) * kLineStep + kPanelGap / 2;
}

void DrawLegend(cairo_t* cr, double left, double top,
                const std::vector<std::vector<RoomType>>& rows) {
  SetFont(cr, kCaptionSize, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_line_width(cr, 1);
  for (const std::vector<RoomType>& row : rows) {
    double x = left;
    for (const RoomType type : row) {
      cairo_rectangle(cr, x, top + 1, kSwatch, kSwatch);
      SetColour(cr, TypeFill(type));
      cairo_fill_preserve(cr);
      SetColour(cr, kInk);
      cairo_stroke(cr);
      const std::string name = GetRoomTypeName(type);
      cairo_move_to(cr, x + kSwatch + 4, top + kCaptionSize);
      cairo_show_text(cr, name.c_str());
      x += kSwatch + 4 + TextWidth(cr, name) + kSwatchGap;
    }
    top += kLineStep;
  }
}

void PaintPaper(cairo_t* cr) {
  SetColour(cr, kPaper);
  cairo_paint(cr);
}

// --- one page of every building: SVG and PNG ---------------------------------

struct SheetLayout {
  std::vector<Extents> frames;   // per building
  std::vector<double> columns;   // column widths, device units
  double width = 0;
  double height = 0;
  double panelsTop = 0;
  double scaleBarTop = 0;
  double legendTop = 0;
  std::vector<std::vector<RoomType>> legend;
  std::string title;
};

SheetLayout LayOutSheet(const TList<TList<CFloor>>& buildings, const PlanLayers& layers,
                        const PlanTitle& title, double scale) {
  // Text is measured on a scratch surface before the page's size is known.
  const Surface scratch(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
  const Context context(cairo_create(scratch.get()));
  cairo_t* cr = context.get();
  SheetLayout layout;
  const int count = buildings.GetSize();
  layout.title = title.outlineFile + " \u00b7 " + std::to_string(count) +
                 (count == 1 ? " building" : " buildings") + " \u00b7 " + StepsText(title);
  SetFont(cr, kTitleSize, CAIRO_FONT_WEIGHT_BOLD);
  const double titleWidth = TextWidth(cr, layout.title);
  SetFont(cr, kCaptionSize, CAIRO_FONT_WEIGHT_NORMAL);
  double panelsWidth = 0;
  double panelsHeight = 0;
  for (int b = 0; b < count; ++b) {
    const Extents frame = BuildingExtents(buildings[b]);
    const int storeys = buildings[b].GetSize();
    double caption = 0;
    for (int k = 0; k < std::max(storeys, 1); ++k) {
      caption = std::max(caption, TextWidth(cr, StoreyCaption(b, k, FinishedOf(layers, b))));
    }
    for (const std::string& line : ProgrammeLines(TypedOf(layers, b))) {
      caption = std::max(caption, TextWidth(cr, line));
    }
    const double column = std::max(frame.Width() * scale, caption);
    layout.frames.push_back(frame);
    layout.columns.push_back(column);
    panelsWidth += column + (b > 0 ? kPanelGap : 0);
    const double storeyHeight = kCaptionBlock + frame.Height() * scale;
    panelsHeight = std::max(panelsHeight, storeys * storeyHeight +
                                              std::max(storeys - 1, 0) * kPanelGap +
                                              ProgrammeBlock(TypedOf(layers, b)));
  }
  layout.panelsTop = kMargin + kTitleSize * 1.5 + kPanelGap / 2;
  layout.scaleBarTop = layout.panelsTop + panelsHeight + kPanelGap;
  layout.width = std::ceil(2 * kMargin + std::max(panelsWidth, titleWidth));
  layout.legendTop = layout.scaleBarTop + kScaleBarBlock + kPanelGap / 2;
  layout.legend = LegendRows(cr, TypesShown(layers, 0, count - 1), layout.width - 2 * kMargin);
  layout.height = std::ceil(layout.legendTop + LegendBlock(layout.legend) + kMargin);
  return layout;
}

void DrawSheet(cairo_t* cr, const TList<TList<CFloor>>& buildings, const PlanLayers& layers,
               const SheetLayout& layout, double scale) {
  PaintPaper(cr);
  DrawTitle(cr, kMargin, kMargin, layout.title);
  double left = kMargin;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const Extents& frame = layout.frames[static_cast<std::size_t>(b)];
    double top = layout.panelsTop;
    for (int s = 0; s < buildings[b].GetSize(); ++s) {
      SetColour(cr, kInk);
      SetFont(cr, kCaptionSize, CAIRO_FONT_WEIGHT_NORMAL);
      cairo_move_to(cr, left, top + kCaptionSize);
      cairo_show_text(cr, StoreyCaption(b, s, FinishedOf(layers, b)).c_str());
      top += kCaptionBlock;
      StoreyPainter(cr, frame, left, top, scale).Paint(buildings[b][s], StoreyLayers(layers, b, s));
      top += frame.Height() * scale + kPanelGap;
    }
    DrawLines(cr, left, top - kPanelGap / 2, ProgrammeLines(TypedOf(layers, b)));
    left += layout.columns[static_cast<std::size_t>(b)] + kPanelGap;
  }
  DrawScaleBar(cr, kMargin, layout.scaleBarTop, scale, layout.width - 2 * kMargin);
  DrawLegend(cr, kMargin, layout.legendTop, layout.legend);
}

// --- one page per storey: PDF -----------------------------------------------

void DrawStoreyPage(cairo_t* cr, const TList<CFloor>& floors, const PlanLayers& layers,
                    int building, int storey, const PlanTitle& title, double width,
                    double height) {
  const FinishedBuilding* finished = FinishedOf(layers, building);
  const TypedBuilding* typed = TypedOf(layers, building);
  const std::vector<std::vector<RoomType>> legend =
      LegendRows(cr, TypesShown(layers, building, building), width - 2 * kMargin);
  const std::vector<std::string> lines = ProgrammeLines(typed);
  const double notes = ProgrammeBlock(typed) + LegendBlock(legend);
  PaintPaper(cr);
  DrawTitle(cr, kMargin, kMargin,
            title.outlineFile + " \u00b7 " + StoreyCaption(building, storey, finished) +
                " \u00b7 " + StepsText(title));
  const Extents frame = BuildingExtents(floors);
  const double top = kMargin + kTitleSize * 1.5 + kPanelGap / 2;
  const double availableWidth = width - 2 * kMargin;
  const double availableHeight = height - top - kPanelGap - kScaleBarBlock - kMargin - notes;
  const double scale = std::min(
      {availableWidth / frame.Width(), availableHeight / frame.Height(), kMaxPdfScale});
  const double left = kMargin + (availableWidth - frame.Width() * scale) / 2;
  StoreyPainter(cr, frame, left, top, scale).Paint(floors[storey], StoreyLayers(layers, building, storey));
  const double notesTop = height - kMargin - notes;
  DrawLines(cr, kMargin, notesTop, lines);
  DrawLegend(cr, kMargin, notesTop + ProgrammeBlock(typed), legend);
  DrawScaleBar(cr, kMargin, notesTop - kPanelGap / 2 - kScaleBarBlock, scale, availableWidth);
}

// --- surfaces and streams ---------------------------------------------------

cairo_status_t WriteToStream(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::ostream*>(closure);
  out->write(reinterpret_cast<const char*>(data), length);
  return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

bool Succeeded(cairo_status_t status, std::string& problem) {
  if (status == CAIRO_STATUS_SUCCESS) return true;
  problem = status == CAIRO_STATUS_WRITE_ERROR
                ? "cannot write the plan"
                : std::string("cannot draw the plan: ") + cairo_status_to_string(status);
  return false;
}

// Ends the document; the first failure of drawing or writing is the one told.
bool Finish(cairo_t* cr, cairo_surface_t* surface, std::string& problem) {
  const cairo_status_t drawing = cairo_status(cr);
  cairo_surface_finish(surface);
  return Succeeded(drawing, problem) && Succeeded(cairo_surface_status(surface), problem);
}

bool WriteSheetSurface(const TList<TList<CFloor>>& buildings, const PlanLayers& layers,
                       const PlanTitle& title, PlanFormat format, double scale, std::ostream& out,
                       std::string& problem) {
  const SheetLayout layout = LayOutSheet(buildings, layers, title, scale);
  if (format == PlanFormat::kPng && (layout.width > kMaxPngSide || layout.height > kMaxPngSide)) {
    problem = "a PNG plan is limited to " + std::to_string(kMaxPngSide) +
              " pixels a side; this one would be " + std::to_string(static_cast<int>(layout.width)) +
              " x " + std::to_string(static_cast<int>(layout.height));
    return false;
  }
  Surface surface(format == PlanFormat::kPng
                      ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(layout.width),
                                                   static_cast<int>(layout.height))
                      : cairo_svg_surface_create_for_stream(&WriteToStream, &out, layout.width,
                                                            layout.height));
  if (format == PlanFormat::kSvg) cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
  const Context cr(cairo_create(surface.get()));
  DrawSheet(cr.get(), buildings, layers, layout, scale);
  if (format == PlanFormat::kPng) {
    cairo_surface_flush(surface.get());
    if (!Succeeded(cairo_status(cr.get()), problem) ||
        !Succeeded(cairo_surface_write_to_png_stream(surface.get(), &WriteToStream, &out),
                   problem)) {
      return false;
    }
  }
  return Finish(cr.get(), surface.get(), problem);
}

// cairo names an SVG's surfaces by a count over the whole process, so the
// same plan drawn after others would name them differently. They are named
// in order of appearance from 2, as the first plan a process draws has them.
std::string NumberSurfacesFromTwo(const std::string& svg) {
  static constexpr std::string_view kPrefix = "surface";
  std::map<std::string, std::string> renamed;
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = svg.find(kPrefix); at != std::string::npos; at = svg.find(kPrefix, from)) {
    std::size_t end = at + kPrefix.size();
    while (end < svg.size() && std::isdigit(static_cast<unsigned char>(svg[end]))) ++end;
    result.append(svg, from, at - from);
    const std::string number = svg.substr(at + kPrefix.size(), end - at - kPrefix.size());
    if (number.empty()) {
      result.append(kPrefix);
    } else {
      const auto name = renamed.emplace(number, std::to_string(renamed.size() + 2)).first;
      result.append(kPrefix).append(name->second);
    }
    from = end;
  }
  return result.append(svg, from, std::string::npos);
}

bool WriteSheet(const TList<TList<CFloor>>& buildings, const PlanLayers& layers,
                const PlanTitle& title, PlanFormat format, double scale, std::ostream& out,
                std::string& problem) {
  if (format == PlanFormat::kSvg) {
    std::ostringstream svg;
    if (!WriteSheetSurface(buildings, layers, title, format, scale, svg, problem)) return false;
    out << NumberSurfacesFromTwo(svg.str());
    return true;
  }
  return WriteSheetSurface(buildings, layers, title, format, scale, out, problem);
}

bool WriteStoreyPages(const TList<TList<CFloor>>& buildings, const PlanLayers& layers,
                      const PlanTitle& title, std::ostream& out, std::string& problem) {
  const Surface surface(cairo_pdf_surface_create_for_stream(&WriteToStream, &out, kA4Short, kA4Long));
  const std::string document = title.outlineFile + " \u00b7 " + StepsText(title);
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, document.c_str());
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "QUARN");
  const Context cr(cairo_create(surface.get()));
  bool anyPage = false;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const Extents frame = BuildingExtents(buildings[b]);
    const bool landscape = frame.Width() > frame.Height();
    const double width = landscape ? kA4Long : kA4Short;
    const double height = landscape ? kA4Short : kA4Long;
    for (int s = 0; s < buildings[b].GetSize(); ++s) {
      cairo_pdf_surface_set_size(surface.get(), width, height);
      DrawStoreyPage(cr.get(), buildings[b], layers, b, s, title, width, height);
      cairo_show_page(cr.get());
      anyPage = true;
    }
  }
  if (!anyPage) {
    // A file without buildings still gets its page, saying so.
    PaintPaper(cr.get());
    DrawTitle(cr.get(), kMargin, kMargin, title.outlineFile + " \u00b7 no buildings");
    cairo_show_page(cr.get());
  }
  return Finish(cr.get(), surface.get(), problem);
}

}  // namespace

CColour PlanRoomFill(const CRoom& room, unsigned index) {
  const CColour design = room.IsComplete() ? Palette(index) : kIncompleteRoom;
  const CColour opaque(design.r, design.g, design.b);
  return opaque * (1.0f - kFillLightening) +
         CColour(kFillLightening, kFillLightening, kFillLightening, kFillLightening);
}

bool WritePlan(const TList<TList<CFloor>>& buildings, const std::vector<FinishedBuilding>* finished,
               const PlanTitle& title, PlanFormat format, int pxPerUnit, std::ostream& out,
               std::string& problem, const std::vector<TypedBuilding>* typed) {
  const PlanLayers layers{finished, typed};
  if (format == PlanFormat::kPdf) return WriteStoreyPages(buildings, layers, title, out, problem);
  if (pxPerUnit < 1 || pxPerUnit > kMaxPlanPxPerUnit) {
    problem = "the plan scale must be 1 to " + std::to_string(kMaxPlanPxPerUnit) +
              " pixels per grid unit";
    return false;
  }
  return WriteSheet(buildings, layers, title, format, pxPerUnit, out, problem);
}

}  // namespace quarn
