#include "render/cfinisheddraw.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "furnish/catalogue.h"
#include "furnish/layers.h"
#include "programme/programme.h"
#include "render/cbox3draw.h"
#include "render/cfloordraw.h"
#include "render/cbuildingdraw.h"
#include "render/ctextureset.h"

namespace {

// The entrance, where a style shows walls without their openings: the
// doorway's box outlined.
constexpr CColour kEntranceColour(0.1f, 0.8f, 0.2f);
constexpr CColour kStairLineColour(1.0f, 1.0f, 1.0f);

void DrawAdditions(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey,
                   int style) {
  const TList<CBox3> steps = GetFinishingBoxes(finished, storey);
  switch (style) {
    case kStyleDesign:
      glColor3f(kStairLineColour.r, kStairLineColour.g, kStairLineColour.b);
      Draw(steps);
      break;
    case kStyleWireframe:
      glColor3f(CFloor::WALL_COLOUR.r, CFloor::WALL_COLOUR.g, CFloor::WALL_COLOUR.b);
      Draw(steps);
      break;
    case kStyleSolid:
      glColor3f(CFloor::SLAB_COLOUR.r, CFloor::SLAB_COLOUR.g, CFloor::SLAB_COLOUR.b);
      DrawFilled(steps);
      break;
    case kStyleTextured:
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, TextureSet().floor);
      glColor4f(CFloor::SLAB_COLOUR.r, CFloor::SLAB_COLOUR.g, CFloor::SLAB_COLOUR.b, 1.0f);
      DrawFilled(steps);
      glDisable(GL_TEXTURE_2D);
      break;
    default: return;
  }
  if (storey == 0 && finished.entrance && (style == kStyleDesign || style == kStyleSolid)) {
    glColor3f(kEntranceColour.r, kEntranceColour.g, kEntranceColour.b);
    Draw(floor.walls[finished.entrance->wall].GetDoorBox());
  }
}

// The typed rooms of a storey as floors in their type's colour, just
// below the plan's lines.
void FillTypedRooms(const CFloor& floor, const std::vector<std::optional<CColour>>& colours) {
  constexpr float kBelowLines = -0.02f;
  // Unlit, so that the colours read as the plans' legend shows them.
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_LIGHTING);
  glBegin(GL_QUADS);
  for (int r = 0; r < floor.rooms.GetSize(); ++r) {
    const auto room = static_cast<std::size_t>(r);
    if (room >= colours.size() || !colours[room]) continue;
    const CColour& c = *colours[room];
    glColor3f(c.r, c.g, c.b);
    const CBox2List boxes = floor.rooms[r].wallOutline.GetAsBoxList();
    for (int i = 0; i < boxes.GetSize(); ++i) {
      const CPoint2 lo = boxes[i].GetMin();
      const CPoint2 hi = boxes[i].GetMax();
      glVertex3f(static_cast<float>(lo.x), static_cast<float>(lo.y), kBelowLines);
      glVertex3f(static_cast<float>(hi.x), static_cast<float>(lo.y), kBelowLines);
      glVertex3f(static_cast<float>(hi.x), static_cast<float>(hi.y), kBelowLines);
      glVertex3f(static_cast<float>(lo.x), static_cast<float>(hi.y), kBelowLines);
    }
  }
  glEnd();
  glPopAttrib();
}

}  // namespace

CFloor GetFinishedFloor(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey,
                        const quarn::TypedBuilding* typed) {
  CFloor copy(floor);
  for (int w = 0; w < copy.walls.GetSize(); ++w) {
    copy.walls[w].pieces = quarn::GetTypedWallPieces(floor, finished, typed, storey, w);
  }
  for (int r = 0; r < copy.slabs.GetSize(); ++r) copy.slabs[r] = finished.GetSlabs(floor, storey, r);
  return copy;
}

TList<CBox3> GetFinishingBoxes(const quarn::FinishedBuilding& finished, int storey) {
  const auto k = static_cast<std::size_t>(storey);
  if (k >= finished.stairs.size() || !finished.stairs[k]) return {};
  return finished.stairs[k]->steps;
}

std::vector<RoomLabel> GetRoomLabels(const CFloor& floor, const quarn::TypedBuilding& typed,
                                     int storey, float lift) {
  std::vector<RoomLabel> labels;
  const auto k = static_cast<std::size_t>(storey);
  if (k >= typed.names.size()) return labels;
  for (int r = 0; r < floor.rooms.GetSize(); ++r) {
    const auto room = static_cast<std::size_t>(r);
    if (room >= typed.names[k].size() || typed.names[k][room].empty()) continue;
    const CBox2List boxes = floor.rooms[r].wallOutline.GetAsBoxList();
    int largest = 0;
    for (int i = 1; i < boxes.GetSize(); ++i) {
      if (boxes[i].GetArea() > boxes[largest].GetArea()) largest = i;
    }
    if (boxes.GetSize() == 0) continue;
    const CVector2 centre = boxes[largest].GetCentre();
    labels.push_back({CVector3(centre.x, centre.y, static_cast<float>(storey) * quarn::kStoreyRise + lift),
                      typed.names[k][room]});
  }
  return labels;
}

std::vector<std::pair<CVector2, std::string>> ProjectLabels(const std::vector<RoomLabel>& labels) {
  GLdouble model[16];
  GLdouble projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::vector<std::pair<CVector2, std::string>> shown;
  for (const RoomLabel& label : labels) {
    GLdouble x = 0, y = 0, z = 0;
    if (gluProject(label.at.x, label.at.y, label.at.z, model, projection, viewport, &x, &y, &z) !=
            GL_TRUE ||
        z < 0 || z > 1 || x < viewport[0] || y < viewport[1] || x > viewport[0] + viewport[2] ||
        y > viewport[1] + viewport[3]) {
      continue;
    }
    shown.emplace_back(CVector2(static_cast<float>(x), static_cast<float>(y)), label.name);
  }
  return shown;
}

void DrawFurniture(const quarn::FurnishedBuilding& furnished, int storey, int style) {
  const bool filled = style == kStyleSolid || style == kStyleTextured;
  if (!filled && style != kStyleDesign && style != kStyleWireframe) return;
  for (const quarn::FurniturePiece& piece : furnished.pieces) {
    if (piece.storey != storey) continue;
    if (!filled) {
      const CColour& c = style == kStyleDesign ? kStairLineColour : CFloor::WALL_COLOUR;
      glColor3f(c.r, c.g, c.b);
      Draw(piece.boxes);
      continue;
    }
    const std::array<float, 3> c = quarn::GetFurnitureMaterialColour(quarn::GetFurnitureMaterial(piece.kind));
    glColor4f(c[0], c[1], c[2], 1.0f);
    DrawFilled(piece.boxes);
  }
}

void CFinishedDrawing::Prepare(const TList<TList<CFloor>>& buildings,
                               const quarn::Programme* programme) {
  quarn::BuildingLayers layers = quarn::LayBuildings(buildings, programme, 1.0f);
  finished_ = std::move(layers.finished);
  typed_ = std::move(layers.typed);
  furnished_ = std::move(layers.furnished);
  labels_.clear();
  floors_ = TList<TList<CFloor>>();
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const quarn::FinishedBuilding& finished = finished_[static_cast<std::size_t>(b)];
    const quarn::TypedBuilding* typed = programme != nullptr ? &typed_[static_cast<std::size_t>(b)] : nullptr;
    TList<CFloor> storeys;
    for (int k = 0; k < buildings[b].GetSize(); ++k) {
      storeys.Add(GetFinishedFloor(buildings[b][k], finished, k, typed));
      if (typed == nullptr) continue;
      for (RoomLabel& label : GetRoomLabels(buildings[b][k], *typed, k, 0.1f)) {
        labels_.push_back(std::move(label));
      }
    }
    floors_.Add(storeys);
  }
  for (const std::vector<unsigned>& style : lists_) {
    for (const unsigned list : style) {
      if (list != 0) glDeleteLists(list, 1);
    }
  }
  lists_.assign(kStyleTextured + 1, {});
}

void CFinishedDrawing::DrawStorey(int b, int k, int style) const {
  const auto building = static_cast<std::size_t>(b);
  if (style == kStyleDesign && building < typed_.size()) {
    std::vector<std::optional<CColour>> colours;
    for (const std::optional<quarn::RoomType>& type :
         typed_[building].types[static_cast<std::size_t>(k)]) {
      colours.push_back(type ? std::optional<CColour>(quarn::GetRoomTypeColour(*type)) : std::nullopt);
    }
    FillTypedRooms(floors_[b][k], colours);
    DrawDesign(floors_[b][k], colours);
  } else {
    DrawFloor(floors_[b][k], style);
  }
  DrawAdditions(floors_[b][k], finished_[building], k, style);
  if (building < furnished_.size()) DrawFurniture(furnished_[building], k, style);
}

void CFinishedDrawing::Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision,
                            int style, const quarn::Programme* programme) {
  const std::string programmeName = programme ? programme->name : std::string();
  if (revision_ != revision || programme_ != programmeName ||
      finished_.size() != static_cast<std::size_t>(buildings.GetSize())) {
    Prepare(buildings, programme);
    revision_ = revision;
    programme_ = programmeName;
  }
  if (style < kStyleDesign || style > kStyleTextured) return;
  std::vector<unsigned>& lists = lists_[static_cast<std::size_t>(style)];
  std::size_t index = 0;
  for (int b = 0; b < floors_.GetSize(); ++b) {
    for (int k = 0; k < floors_[b].GetSize(); ++k, ++index) {
      if (lists.size() <= index) lists.resize(index + 1, 0);
      glPushMatrix();
      glTranslatef(0.0f, 0.0f, static_cast<float>(k) * quarn::kStoreyRise);
      if (lists[index] != 0) {
        glCallList(lists[index]);
      } else {
        // Without a list (none left) the storey is drawn directly.
        lists[index] = glGenLists(1);
        if (lists[index] != 0) glNewList(lists[index], GL_COMPILE_AND_EXECUTE);
        DrawStorey(b, k, style);
        if (lists[index] != 0) glEndList();
      }
      glPopMatrix();
    }
  }
}
