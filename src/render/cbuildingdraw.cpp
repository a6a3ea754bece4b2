#include "render/cbuildingdraw.h"

#include <GL/gl.h>

#include "render/cfloordraw.h"

namespace {

using FloorDrawing = void (*)(const CFloor&);

FloorDrawing DrawingOfStyle(int style) {
  switch (style) {
    case kStyleDesign: return &DrawDesign;
    case kStyleWireframe: return &DrawWireframe;
    case kStyleSolid: return &DrawSolid;
    case kStyleTextured: return &DrawTextured;
    default: return nullptr;
  }
}

// Calls draw(floor, k) for the lowest shownStoreys storeys of every building
// in order, k counting every storey of every building, with storey f of its
// building raised by f * kStoreyRise (the ground storey is left as it is).
template <typename Draw>
void DrawStoreys(const TList<TList<CFloor>>& buildings, int shownStoreys, Draw draw) {
  std::size_t k = 0;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const TList<CFloor>& floors = buildings[b];
    for (int f = 0; f < floors.GetSize(); ++f, ++k) {
      if (f >= shownStoreys) continue;
      if (f == 0) {
        draw(floors[f], k);
        continue;
      }
      glPushMatrix();
      glTranslatef(0.0f, 0.0f, static_cast<float>(f) * kStoreyRise);
      draw(floors[f], k);
      glPopMatrix();
    }
  }
}

}  // namespace

void DrawFloor(const CFloor& floor, int style) {
  if (const FloorDrawing draw = DrawingOfStyle(style)) draw(floor);
}

void DrawBuildings(const TList<TList<CFloor>>& buildings, int style, int shownStoreys) {
  const FloorDrawing draw = DrawingOfStyle(style);
  if (draw == nullptr) return;
  DrawStoreys(buildings, shownStoreys, [draw](const CFloor& floor, std::size_t) { draw(floor); });
}

void CBuildingDrawing::Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision,
                            int style, int shownStoreys) {
  if (style != kStyleWireframe) {
    DrawBuildings(buildings, style, shownStoreys);
    return;
  }
  std::size_t storeys = 0;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    storeys += static_cast<std::size_t>(buildings[b].GetSize());
  }
  // Made again for a new revision, and whenever their number does not match
  // the storeys, so that a revision passed wrongly cannot index past them.
  if (revision_ != revision || wireframes_.size() != storeys) {
    wireframes_.clear();
    for (int b = 0; b < buildings.GetSize(); ++b) {
      for (int f = 0; f < buildings[b].GetSize(); ++f) wireframes_.emplace_back(buildings[b][f]);
    }
    revision_ = revision;
  }
  DrawStoreys(buildings, shownStoreys,
              [this](const CFloor& floor, std::size_t k) { DrawWireframe(floor, wireframes_[k]); });
}

void SetBuildingLighting() {
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  glMaterialf(GL_FRONT, GL_SHININESS, 16.0f);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
  const GLfloat diffuse[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  const GLfloat position[4] = {-1.0f, -2.0f, 3.0f, 0.0f};
  const GLfloat ambient[4] = {0.5f, 0.5f, 0.5f, 0.0f};
  glLightfv(GL_LIGHT2, GL_DIFFUSE, diffuse);
  glEnable(GL_LIGHT2);
  glLightfv(GL_LIGHT2, GL_POSITION, position);
  glLightfv(GL_LIGHT2, GL_AMBIENT, ambient);
}
