#pragma once

// The side index shared by 2D and 3D boxes. Sides 0..3 are the four sides of
// a 2D box and index its neighbour links; 4 and 5 exist for 3D boxes only.
using Side = int;

constexpr Side SideLeft = 0;       // toward -x
constexpr Side SideRight = 1;      // toward +x
constexpr Side SideDown = 2;       // toward -y
constexpr Side SideUp = 3;         // toward +y
constexpr Side SideNegativeZ = 4;  // toward -z
constexpr Side SidePositiveZ = 5;  // toward +z
constexpr Side SideNone = 6;

// One letter per 2D side, indexed by side 0..3.
constexpr const char* kSideLetters = "LRDU";

// True for the sides facing a positive direction: Right, Up and side 5.
constexpr bool IsPositiveSide(Side s) { return s % 2 == 1; }

// The axis a side faces along: 0 for Left/Right, 1 for Down/Up, 2 for 4/5.
constexpr int GetSideAxis(Side s) { return s / 2; }
