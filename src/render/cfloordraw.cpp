#include "render/cfloordraw.h"

#include <algorithm>

#include <GL/gl.h>

#include "qassert.h"
#include "render/cbox2draw.h"
#include "render/cbox3draw.h"
#include "render/cpolygon2draw.h"
#include "render/ctextureset.h"

namespace {

constexpr float kWallHeight = 1.5f;
constexpr float kCandidateAlpha = 0.5f;

void SetColour(const CColour& c) { glColor4f(c.r, c.g, c.b, c.a); }
void SetColourRgb(const CColour& c) { glColor3f(c.r, c.g, c.b); }

// Outline at floor and wall-top height joined by a vertical line at every vertex.
void DrawPrism(const CPolygon2& outline) {
  Draw(outline, 2, 1, 1, true);
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, kWallHeight);
  Draw(outline, 2, 1, 1, true);
  glPopMatrix();
  glLineWidth(1.0f);
  glBegin(GL_LINES);
  for (int i = 0; i < outline.GetSize(); ++i) {
    const CPoint2& p = outline[i];
    glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), 0.0f);
    glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), kWallHeight);
  }
  glEnd();
}

// The candidate lists are the floor model's: a mismatch is reported as
// the floor's fault.
bool CandidateListsMatch(const CFloor& floor) {
  if (floor.candidateBoxes.GetSize() == floor.candidateScores.GetSize()) return true;
  quarn::ReportAssertion("cfloor", __LINE__);
  return false;
}

void DrawWallPieces(const CFloor& floor, void (*draw)(const TList<CBox3>&)) {
  for (int i = 0; i < floor.walls.GetSize(); ++i) draw(floor.walls[i].pieces);
}

}  // namespace

void DrawRegions(const CFloor& floor, bool cellsOnly) {
  for (int i = 0; i < floor.pendingRegions.GetSize(); ++i) {
    SetColourRgb(PaletteShade(static_cast<unsigned>(i), 1));
    const CLattice2& region = floor.pendingRegions[i];
    if (cellsOnly) {
      Draw(region, 1);
    } else {
      DrawPrism(region.GetAsPolygon());
    }
  }
}

void DrawCandidates(const CFloor& floor) {
  CandidateListsMatch(floor);
  const int count = std::min(floor.candidateBoxes.GetSize(), floor.candidateScores.GetSize());
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (int i = 0; i < count; ++i) {
    const float score = floor.candidateScores[i];
    glColor4f(score, score, score, kCandidateAlpha);
    DrawFilled(floor.candidateBoxes[i]);
  }
  glDisable(GL_BLEND);
}

void DrawDesign(const CFloor& floor) { DrawDesign(floor, {}); }

void DrawDesign(const CFloor& floor, const std::vector<std::optional<CColour>>& roomColours) {
  DrawRegions(floor, true);
  for (int i = 0; i < floor.rooms.GetSize(); ++i) {
    const CRoom& room = floor.rooms[i];
    const auto index = static_cast<std::size_t>(i);
    if (index < roomColours.size() && roomColours[index]) {
      SetColour(*roomColours[index]);
    } else if (room.IsComplete()) {
      SetColour(Palette(static_cast<unsigned>(i)));
    } else {
      glColor3f(0.5f, 0.5f, 0.5f);
    }
    Draw(room.wallOutline, 3, 5, 1, true);
  }
  DrawCandidates(floor);
}

namespace {

// The region prisms, then the wall colour for the piece outlines.
void BeginWireframe(const CFloor& floor) {
  DrawRegions(floor, false);
  SetColour(CFloor::WALL_COLOUR);
}

}  // namespace

void DrawWireframe(const CFloor& floor) {
  BeginWireframe(floor);
  DrawWallPieces(floor, &Draw);
}

void DrawWireframe(const CFloor& floor, const CWireframe& pieceOutlines) {
  BeginWireframe(floor);
  pieceOutlines.Draw();
}

void DrawSolid(const CFloor& floor) {
  DrawRegions(floor, false);
  SetColourRgb(CFloor::WALL_COLOUR);
  for (int i = 0; i < floor.walls.GetSize(); ++i) DrawFilled(floor.walls[i].solid[0]);
  SetColourRgb(CFloor::SLAB_COLOUR);
  for (int i = 0; i < floor.slabs.GetSize(); ++i) DrawFilled(floor.slabs[i]);
}

void DrawTextured(const CFloor& floor) {
  DrawRegions(floor, false);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, TextureSet().wall);
  SetColour(CFloor::WALL_COLOUR);
  DrawWallPieces(floor, &DrawFilled);
  glBindTexture(GL_TEXTURE_2D, TextureSet().floor);
  for (int i = 0; i < floor.slabs.GetSize(); ++i) {
    SetColour(PaletteShade(static_cast<unsigned>(i), 1));
    DrawFilled(floor.slabs[i]);
  }
  glDisable(GL_TEXTURE_2D);
}
