#pragma once

// Drawing of all buildings of the view and the light they are seen in.

#include "building/cfloor.h"
#include "tlist.h"

// The rendering styles a floor can be drawn in.
enum RenderStyle { kStyleDesign = 1, kStyleWireframe = 2, kStyleSolid = 3, kStyleTextured = 4 };

// Every storey of every building, in order, in style 1 to 4; any other style
// draws nothing.
void DrawBuildings(const TList<TList<CFloor>>& buildings, int style);

// Lighting for the buildings: colour material on front faces (ambient and
// diffuse, shininess 16), one-sided, and light 2 as a white directional
// light from (-1, -2, 3) with ambient 0.5. Call with the camera
// transformation current so that the light stays fixed in the world.
void SetBuildingLighting();
