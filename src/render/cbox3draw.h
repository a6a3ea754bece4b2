#pragma once

// Drawing of 3D boxes: six faces in side order 0..5, each with its side's
// normal and texture coordinates 0.3 times the vertex's two coordinates off
// the face's axis. The caller binds the texture and sets the colour.

#include "geom/cbox3.h"
#include "tlist.h"

// One face: a line loop (outline) or a quad through its four corners.
void DrawFace(const CFace3& face, bool outline);

// The six faces as outlines.
void Draw(const CBox3& box);
// The six faces filled.
void DrawFilled(const CBox3& box);

// Every box of the list, in order.
void Draw(const TList<CBox3>& boxes);
void DrawFilled(const TList<CBox3>& boxes);
