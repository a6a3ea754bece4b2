#pragma once

// The four rendering styles of a floor and their parts. The caller has set
// up the camera; lighting is the caller's (SetBuildingLighting).

#include <optional>
#include <vector>

#include "building/cfloor.h"
#include "render/cwireframe.h"

// Every pending region in its shade of the palette (PaletteShade(i, 1)):
// with cellsOnly each cell's outline, 1 pixel wide; otherwise the region's
// outline as a wire prism of wall height (outline at z = 0 and z = 1.5,
// 2 pixels wide, and a vertical line at every vertex).
void DrawRegions(const CFloor& floor, bool cellsOnly);

// The candidate cells of the room the step budget stopped, blended at half
// opacity in grey as bright as their score. Asks that the candidate boxes
// and scores match in number (asserted; only matching pairs are drawn).
void DrawCandidates(const CFloor& floor);

// Style 1, the plan: cells, room outlines in their palette colour (grey
// while incomplete) with their vertices, candidates.
void DrawDesign(const CFloor& floor);
// The same plan with room i outlined in roomColours[i] where it holds one.
void DrawDesign(const CFloor& floor, const std::vector<std::optional<CColour>>& roomColours);
// Style 2: region prisms and the outlines of the wall pieces (openings cut).
void DrawWireframe(const CFloor& floor);
// The same picture with the piece outlines made beforehand from floor.
void DrawWireframe(const CFloor& floor, const CWireframe& pieceOutlines);
// Style 3: region prisms, uncut walls and floor slabs, filled.
void DrawSolid(const CFloor& floor);
// Style 4: region prisms, wall pieces with the wall texture, floor slabs
// with the floor texture in their room's shade.
void DrawTextured(const CFloor& floor);
