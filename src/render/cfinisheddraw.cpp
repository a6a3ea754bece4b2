#include "render/cfinisheddraw.h"

#include <GL/gl.h>

#include "furnish/catalogue.h"
#include "furnish/furnish.h"
#include "programme/programme.h"
#include "render/cbox3draw.h"
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

}  // namespace

CFloor GetFinishedFloor(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey) {
  CFloor copy(floor);
  for (int w = 0; w < copy.walls.GetSize(); ++w) {
    copy.walls[w].pieces = finished.GetWallPieces(floor, storey, w);
  }
  for (int r = 0; r < copy.slabs.GetSize(); ++r) copy.slabs[r] = finished.GetSlabs(floor, storey, r);
  return copy;
}

TList<CBox3> GetFinishingBoxes(const quarn::FinishedBuilding& finished, int storey) {
  const auto k = static_cast<std::size_t>(storey);
  if (k >= finished.stairs.size() || !finished.stairs[k]) return {};
  return finished.stairs[k]->steps;
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

void CFinishedDrawing::Prepare(const TList<TList<CFloor>>& buildings) {
  finished_ = quarn::FinishBuildings(buildings);
  const quarn::Programme house = *quarn::GetBuiltinProgramme("house");
  furnished_.clear();
  floors_ = TList<TList<CFloor>>();
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const quarn::FinishedBuilding& finished = finished_[static_cast<std::size_t>(b)];
    const quarn::TypedBuilding typed = quarn::ApplyProgramme(buildings[b], finished, house, 1.0f);
    furnished_.push_back(quarn::FurnishBuilding(buildings[b], finished, typed, 1.0f));
    TList<CFloor> storeys;
    for (int k = 0; k < buildings[b].GetSize(); ++k) {
      storeys.Add(GetFinishedFloor(buildings[b][k], finished, k));
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

void CFinishedDrawing::Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision,
                            int style) {
  if (revision_ != revision || finished_.size() != static_cast<std::size_t>(buildings.GetSize())) {
    Prepare(buildings);
    revision_ = revision;
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
        DrawFloor(floors_[b][k], style);
        DrawAdditions(floors_[b][k], finished_[static_cast<std::size_t>(b)], k, style);
        DrawFurniture(furnished_[static_cast<std::size_t>(b)], k, style);
        if (lists[index] != 0) glEndList();
      }
      glPopMatrix();
    }
  }
}
