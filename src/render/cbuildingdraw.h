#pragma once

// Drawing of all buildings of the view and the light they are seen in.

#include <cstdint>
#include <optional>
#include <vector>

#include "building/cfloor.h"
#include "render/cwireframe.h"
#include "tlist.h"

// The rendering styles a floor can be drawn in.
enum RenderStyle { kStyleDesign = 1, kStyleWireframe = 2, kStyleSolid = 3, kStyleTextured = 4 };

// One storey in style 1 to 4; any other style draws nothing.
void DrawFloor(const CFloor& floor, int style);

// Storeys stand this far apart, the lowest on the ground (z = 0), as the
// exports stack them; a building of one storey is drawn where it stands.
using quarn::kStoreyRise;
// Every storey shown.
inline constexpr int kAllStoreys = 0x7FFFFFFF;

// Every storey of every building, in order, in style 1 to 4; any other style
// draws nothing. Only the lowest shownStoreys storeys of each building are
// drawn, storey k raised by k * kStoreyRise.
void DrawBuildings(const TList<TList<CFloor>>& buildings, int style,
                   int shownStoreys = kAllStoreys);

// The view's drawing of the buildings: what DrawBuildings draws, with the
// wireframe style's piece outlines (CWireframe) made once per revision of
// the buildings instead of every frame.
class CBuildingDrawing {
 public:
  // Draws like DrawBuildings; revision names the buildings' state (it
  // changes whenever they are regenerated), so the kept outlines are made
  // again when it differs from the one they were made for.
  void Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision, int style,
            int shownStoreys = kAllStoreys);

 private:
  // One per storey, the storeys of every building in drawing order.
  std::vector<CWireframe> wireframes_;
  std::optional<std::uint64_t> revision_;
};

// Lighting for the buildings: colour material on front faces (ambient and
// diffuse, shininess 16), one-sided, and light 2 as a white directional
// light from (-1, -2, 3) with ambient 0.5. Call with the camera
// transformation current so that the light stays fixed in the world.
void SetBuildingLighting();
