#pragma once

// The buildings of one run as plain scene data, built once and handed to
// every 3D writer, so that every format gets the same triangles.
//
// Frame: metres, +Y up, right-handed; the world's (x, y, z) with z up
// becomes (x, z, -y), scaled by the unit (metres per grid unit). Triangles
// run counter-clockwise seen from outside their box. Texture coordinates
// are the view's, origin at the bottom-left of the picture (a writer whose
// format counts from the top flips v).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "furnish/furniture.h"
#include "nav/navpolygons.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// Facts attached to a node or a mesh, in the order added.
using ExtraValue = std::variant<bool, int, double, std::string, std::vector<int>>;
using Extras = std::vector<std::pair<std::string, ExtraValue>>;

struct SceneVertex {
  std::array<float, 3> position;
  std::array<float, 3> normal;
  std::array<float, 2> texCoord;
};

// Triangles of one material; indices are into vertices, three a triangle.
struct SceneMesh {
  std::string name;
  int material = 0;
  std::vector<SceneVertex> vertices;
  std::vector<std::uint32_t> indices;
  Extras extras;
};

enum class SceneTexture { kNone, kBrick, kFloor };

// A matte material: base colour (linear RGB, opaque) times its texture.
struct SceneMaterial {
  std::string name;
  std::array<float, 3> colour;
  SceneTexture texture = SceneTexture::kNone;
};

// A node of the hierarchy: translation in the scene frame, at most one mesh
// (-1: none), children by index into Scene::nodes.
struct SceneNode {
  std::string name;
  std::array<float, 3> translation{};
  int mesh = -1;
  std::vector<int> children;
  Extras extras;
};

// roots are the building nodes. Every material is used by a mesh; no mesh
// is empty.
struct Scene {
  std::vector<SceneMesh> meshes;
  std::vector<SceneMaterial> materials;
  std::vector<SceneNode> nodes;
  std::vector<int> roots;
};

// metresPerUnit scales the plan (x and y). storeyHeight, in metres, is the
// height of a storey: every height is scaled by storeyHeight / kStoreyRise
// and storey k stands at k x storeyHeight; none keeps heights at
// metresPerUnit per grid unit, so a storey is kStoreyRise grid units high.
//
// navMeshes, when not empty, holds each building's navigation mesh (in
// metres, the world's frame): its building node gains a child "navmesh"
// with the mesh's polygons as triangles, marked hidden (extras hidden
// true), for an application to walk on rather than to show.
struct SceneSettings {
  float metresPerUnit = 1.0f;
  bool textured = true;
  std::optional<float> storeyHeight;
  std::vector<NavPolygons> navMeshes = {};
};

// Metres from one storey's floor to the next in the 3D formats of finished
// buildings, unless another height is asked for.
inline constexpr float kFinishedStoreyHeight = 3.0f;

// One node per building ("building N"), a child per storey ("storey N",
// raised to its height), under it one node per room ("room N", extras room,
// area in grid cells, complete) holding the room's floor slabs and, as
// child nodes, the walls whose first room it is (mesh extras rooms,
// opening "door", "window" or "none"). Geometry is what the textured view
// draws: every wall's pieces and every room's slabs, each box as its six
// faces. Walls are brick tinted by the wall colour; room i's slabs are the
// floor tiles tinted by its palette shade.
// buildings holds each building's storeys, lowest first, as the view draws
// them.
//
// finished, when given, holds what finishing added to each building: the
// entrance wall's pieces with its doorway (mesh extras opening "entrance")
// and the slabs with the stair openings; a node "entrance" under storey 0 at
// the doorway's middle (extras wall, room), and under storey k a node
// "stairs N" (N counts the building's stairs from 0) with the steps (extras
// from k, to k + 1, rooms [below, above]). A building that lacks an
// entrance or a stair says so in its node's extras ("missing", one phrase
// a lack, separated by "; ").
//
// typed, when given with finished, holds what the programme made of each
// building: room nodes are named by type and index ("bedroom 2 (room 5)")
// with extras type and area_m2 (m² at metresPerUnit) after the others; a
// wall whose door is closed is its uncut box (opening "none"); the building
// node's extras add programme (its name) and, when goals are missed, unmet
// (one phrase a goal, separated by "; ").
//
// furnished, when given with typed, holds each building's furniture: a node
// per piece under its room's node, named by kind and room ("bed (room 5)"),
// with extras kind, its boxes in the material of its kind (wood, fabric,
// ceramic or metal, plain colours); the building node's extras add
// unfurnished (one phrase a missing piece, separated by "; ").
Scene BuildScene(const TList<TList<CFloor>>& buildings, const SceneSettings& settings,
                 const std::vector<FinishedBuilding>* finished = nullptr,
                 const std::vector<TypedBuilding>* typed = nullptr,
                 const std::vector<FurnishedBuilding>* furnished = nullptr);

// The navigation meshes of settings alone: one root "building N" per mesh
// with its "navmesh" child (for the navmesh format, one object a building).
Scene BuildNavMeshScene(const SceneSettings& settings);

// The number of triangles of every mesh together.
std::size_t TriangleCount(const Scene& scene);

}  // namespace quarn
