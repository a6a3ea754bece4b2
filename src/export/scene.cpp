#include "export/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "furnish/catalogue.h"
#include "programme/programme.h"

namespace quarn {
namespace {

// Floor materials beyond this index share the last palette shade.
constexpr unsigned kLastShade = 8;

// The view's colours are display (sRGB) values; scene colours are linear.
float Linear(float c) { return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f); }

std::array<float, 3> LinearColour(const CColour& c) {
  return {Linear(c.r), Linear(c.g), Linear(c.b)};
}

// The shoelace area; an outline on the grid encloses whole cells.
int AreaInCells(const CPolygon2& outline) {
  long long twice = 0;
  for (int i = 0; i < outline.GetSize(); ++i) {
    const CPoint2& a = outline[i];
    const CPoint2& b = outline[(i + 1) % outline.GetSize()];
    twice += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  return static_cast<int>(std::llabs(twice) / 2);
}

// True when the corners turn counter-clockwise about their face's normal.
bool RunsCounterClockwise(const std::array<CFaceVertex3, 4>& corners) {
  const CVector3 a = corners[1].position - corners[0].position;
  const CVector3 b = corners[2].position - corners[0].position;
  return Dot(Cross(a, b), corners[0].normal) > 0;
}

std::string Joined(const std::vector<std::string>& phrases) {
  std::string text;
  for (const std::string& phrase : phrases) text += (text.empty() ? "" : "; ") + phrase;
  return text;
}

class SceneBuilder {
 public:
  explicit SceneBuilder(const SceneSettings& settings) : settings_(settings) {}

  Scene Build(const TList<TList<CFloor>>& buildings,
              const std::vector<FinishedBuilding>* finished,
              const std::vector<TypedBuilding>* typed,
              const std::vector<FurnishedBuilding>* furnished) {
    for (int b = 0; b < buildings.GetSize(); ++b) {
      const int building = AddNode("building " + std::to_string(b));
      scene_.roots.push_back(building);
      const FinishedBuilding* finishing =
          finished != nullptr && static_cast<std::size_t>(b) < finished->size()
              ? &(*finished)[static_cast<std::size_t>(b)]
              : nullptr;
      if (finishing != nullptr && !finishing->GetMissing().empty()) {
        scene_.nodes[building].extras = {{"missing", Joined(finishing->GetMissing())}};
      }
      const TypedBuilding* typing =
          finishing != nullptr && typed != nullptr && static_cast<std::size_t>(b) < typed->size()
              ? &(*typed)[static_cast<std::size_t>(b)]
              : nullptr;
      if (typing != nullptr) {
        Extras& extras = scene_.nodes[building].extras;
        extras.emplace_back("programme", typing->programme);
        if (!typing->unmet.empty()) extras.emplace_back("unmet", Joined(typing->unmet));
      }
      const FurnishedBuilding* furnishing =
          typing != nullptr && furnished != nullptr && static_cast<std::size_t>(b) < furnished->size()
              ? &(*furnished)[static_cast<std::size_t>(b)]
              : nullptr;
      if (furnishing != nullptr && !furnishing->unfurnished.empty()) {
        scene_.nodes[building].extras.emplace_back("unfurnished", Joined(furnishing->unfurnished));
      }
      int stairs = 0;
      for (int k = 0; k < buildings[b].GetSize(); ++k) {
        const int storey = AddChild(building, "storey " + std::to_string(k));
        scene_.nodes[storey].translation = {0.0f, k * kStoreyRise * heightScale_, 0.0f};
        AddFloor(buildings[b][k], k, storey, finishing, typing, furnishing);
        if (finishing != nullptr) AddFinishing(*finishing, k, storey, stairs);
      }
      AddNavMesh(b, building);
    }
    return std::move(scene_);
  }

  Scene BuildNavMeshes() {
    for (std::size_t b = 0; b < settings_.navMeshes.size(); ++b) {
      const int building = AddNode("building " + std::to_string(b));
      scene_.roots.push_back(building);
      AddNavMesh(static_cast<int>(b), building);
    }
    return std::move(scene_);
  }

 private:
  // The entrance node of storey 0 and the stair rising from this storey.
  void AddFinishing(const FinishedBuilding& finished, int k, int storey, int& stairs) {
    if (k == 0 && finished.entrance) {
      const int node = AddChild(storey, "entrance");
      const CVector2 centre = finished.entrance->centre;
      scene_.nodes[node].translation = {centre.x * settings_.metresPerUnit, 0.0f,
                                        0.0f - centre.y * settings_.metresPerUnit};
      scene_.nodes[node].extras = {{"wall", finished.entrance->wall},
                                   {"room", finished.entrance->room}};
    }
    const auto pair = static_cast<std::size_t>(k);
    if (pair >= finished.stairs.size() || !finished.stairs[pair]) return;
    const Stair& stair = *finished.stairs[pair];
    const std::string name = "stairs " + std::to_string(stairs++);
    const int node = AddChild(storey, name);
    const Extras facts = {{"from", k}, {"to", k + 1},
                          {"rooms", std::vector<int>{stair.roomBelow, stair.roomAbove}}};
    scene_.nodes[node].extras = facts;
    scene_.nodes[node].mesh = AddMesh(name, stair.steps, StairMaterial(), facts);
  }

  // The hidden "navmesh" node of building b, its polygons fanned into
  // triangles facing up; nothing when it has no mesh.
  void AddNavMesh(int b, int building) {
    if (static_cast<std::size_t>(b) >= settings_.navMeshes.size()) return;
    const NavPolygons& polygons = settings_.navMeshes[static_cast<std::size_t>(b)];
    SceneMesh mesh{"navmesh " + std::to_string(b), NavMeshMaterial(), {}, {}, {}};
    for (const CVector3& v : polygons.vertices) {
      mesh.vertices.push_back(SceneVertex{{v.x, v.z, 0.0f - v.y}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f}});
    }
    for (const std::vector<int>& polygon : polygons.polygons) {
      for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        for (const std::size_t corner : {std::size_t{0}, i, i + 1}) {
          mesh.indices.push_back(static_cast<std::uint32_t>(polygon[corner]));
        }
      }
    }
    if (mesh.indices.empty()) return;
    scene_.meshes.push_back(std::move(mesh));
    const int node = AddChild(building, "navmesh");
    scene_.nodes[static_cast<std::size_t>(node)].mesh = static_cast<int>(scene_.meshes.size()) - 1;
    scene_.nodes[static_cast<std::size_t>(node)].extras = {{"hidden", true}};
  }

  void AddFloor(const CFloor& floor, int k, int storey, const FinishedBuilding* finished,
                const TypedBuilding* typed, const FurnishedBuilding* furnished) {
    std::vector<int> roomNodes;
    for (int i = 0; i < floor.rooms.GetSize(); ++i) {
      const CRoom& room = floor.rooms[i];
      const int node = AddChild(
          storey, typed ? GetTypedRoomNodeName(*typed, k, i) : "room " + std::to_string(i));
      const int area = AreaInCells(room.outline);
      scene_.nodes[node].extras = {{"room", i}, {"area", area}, {"complete", room.IsComplete()}};
      const std::optional<RoomType> type =
          typed ? typed->types[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)]
                : std::nullopt;
      if (type) {
        const double unit = settings_.metresPerUnit;
        scene_.nodes[node].extras.emplace_back("type", std::string(GetRoomTypeKey(*type)));
        scene_.nodes[node].extras.emplace_back("area_m2", area * unit * unit);
      }
      if (i < floor.slabs.GetSize()) {
        const unsigned shade = std::min(static_cast<unsigned>(i), kLastShade);
        // Named as its node: formats without a hierarchy (OBJ) keep the room's name.
        scene_.nodes[node].mesh =
            AddMesh(scene_.nodes[node].name, finished ? finished->GetSlabs(floor, k, i) : floor.slabs[i],
                    FloorMaterial(shade), {});
      }
      roomNodes.push_back(node);
    }
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const CWall& wall = floor.walls[w];
      const int first = floor.GetRoomIndex(wall.pair.first);
      std::vector<int> rooms = {first};
      if (wall.GetRoomCount() == 2) rooms.push_back(floor.GetRoomIndex(wall.pair.second));
      const int parent = first >= 0 && first < static_cast<int>(roomNodes.size())
                             ? roomNodes[static_cast<std::size_t>(first)]
                             : storey;
      const char* opening =
          finished ? GetWallOpeningKey(floor, *finished, typed, k, w) : GetDesignOpeningKey(wall);
      const int mesh = AddMesh("wall " + std::to_string(w),
                               finished ? GetTypedWallPieces(floor, *finished, typed, k, w) : wall.pieces,
                               WallMaterial(), {{"rooms", rooms}, {"opening", std::string(opening)}});
      if (mesh >= 0) scene_.nodes[AddChild(parent, "wall " + std::to_string(w))].mesh = mesh;
    }
    if (furnished == nullptr) return;
    for (const FurniturePiece& piece : furnished->pieces) {
      if (piece.storey != k || piece.room < 0 || piece.room >= static_cast<int>(roomNodes.size())) continue;
      const std::string name = piece.kind + " (room " + std::to_string(piece.room) + ")";
      const Extras facts = {{"kind", piece.kind}};
      const int mesh = AddMesh(name, piece.boxes, FurnitureMaterial(piece.kind), facts);
      if (mesh < 0) continue;
      const int node = AddChild(roomNodes[static_cast<std::size_t>(piece.room)], name);
      scene_.nodes[node].mesh = mesh;
      scene_.nodes[node].extras = facts;
    }
  }

  // The material of a kind of furniture, plain coloured.
  int FurnitureMaterial(const std::string& kind) {
    const quarn::FurnitureMaterial material = GetFurnitureMaterial(kind);
    int& index = furnitureMaterials_[static_cast<std::size_t>(material)];
    if (index < 0) {
      const std::array<float, 3> c = GetFurnitureMaterialColour(material);
      index = AddMaterial(std::string(GetFurnitureMaterialName(material)), CColour(c[0], c[1], c[2]),
                          SceneTexture::kNone);
    }
    return index;
  }

  int AddNode(std::string name) {
    scene_.nodes.push_back(SceneNode{std::move(name), {}, -1, {}, {}});
    return static_cast<int>(scene_.nodes.size()) - 1;
  }

  int AddChild(int parent, std::string name) {
    const int child = AddNode(std::move(name));
    scene_.nodes[static_cast<std::size_t>(parent)].children.push_back(child);
    return child;
  }

  // The mesh of every face of boxes, or -1 when there are none.
  int AddMesh(std::string name, const TList<CBox3>& boxes, int material, Extras extras) {
    if (boxes.GetSize() == 0) return -1;
    SceneMesh mesh{std::move(name), material, {}, {}, std::move(extras)};
    mesh.vertices.reserve(static_cast<std::size_t>(boxes.GetSize()) * kBoxFaceCount * 4);
    mesh.indices.reserve(static_cast<std::size_t>(boxes.GetSize()) * kBoxFaceCount * 6);
    for (int i = 0; i < boxes.GetSize(); ++i) {
      for (unsigned side = 0; side < kBoxFaceCount; ++side) AddFace(mesh, boxes[i].GetFace(side));
    }
    scene_.meshes.push_back(std::move(mesh));
    return static_cast<int>(scene_.meshes.size()) - 1;
  }

  // The face's quad as two triangles, counter-clockwise seen from outside
  // (the drawing order runs clockwise on some sides).
  void AddFace(SceneMesh& mesh, const CFace3& face) const {
    const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
    const float s = settings_.metresPerUnit;
    const std::array<CFaceVertex3, 4> corners = face.GetVertices();
    for (const CFaceVertex3& v : corners) {
      mesh.vertices.push_back(
          SceneVertex{{v.position.x * s, v.position.z * heightScale_, 0.0f - v.position.y * s},
                      {v.normal.x, v.normal.z, 0.0f - v.normal.y},
                      v.texCoord});
    }
    static constexpr std::array<std::uint32_t, 6> kForward = {0, 1, 2, 0, 2, 3};
    static constexpr std::array<std::uint32_t, 6> kBackward = {0, 2, 1, 0, 3, 2};
    const bool forward = RunsCounterClockwise(corners);
    for (const std::uint32_t corner : forward ? kForward : kBackward) {
      mesh.indices.push_back(base + corner);
    }
  }

  int WallMaterial() {
    if (wallMaterial_ < 0) {
      wallMaterial_ = AddMaterial("wall", CFloor::WALL_COLOUR, SceneTexture::kBrick);
    }
    return wallMaterial_;
  }

  int StairMaterial() {
    if (stairMaterial_ < 0) {
      stairMaterial_ = AddMaterial("stairs", CFloor::SLAB_COLOUR, SceneTexture::kFloor);
    }
    return stairMaterial_;
  }

  int NavMeshMaterial() {
    if (navMeshMaterial_ < 0) {
      scene_.materials.push_back(SceneMaterial{"navmesh", {0.1f, 0.6f, 0.2f}, SceneTexture::kNone});
      navMeshMaterial_ = static_cast<int>(scene_.materials.size()) - 1;
    }
    return navMeshMaterial_;
  }

  int FloorMaterial(unsigned shade) {
    int& material = floorMaterials_[shade];
    if (material < 0) {
      material = AddMaterial("floor-" + std::to_string(shade), PaletteShade(shade, 1),
                             SceneTexture::kFloor);
    }
    return material;
  }

  int AddMaterial(std::string name, const CColour& colour, SceneTexture texture) {
    scene_.materials.push_back(SceneMaterial{std::move(name), LinearColour(colour),
                                             settings_.textured ? texture : SceneTexture::kNone});
    return static_cast<int>(scene_.materials.size()) - 1;
  }

  SceneSettings settings_;
  // Metres per grid unit of height.
  float heightScale_ = settings_.storeyHeight ? *settings_.storeyHeight / kStoreyRise
                                              : settings_.metresPerUnit;
  Scene scene_;
  int wallMaterial_ = -1;
  int stairMaterial_ = -1;
  std::array<int, kFurnitureMaterialCount> furnitureMaterials_ = {-1, -1, -1, -1};
  int navMeshMaterial_ = -1;
  std::array<int, kLastShade + 1> floorMaterials_ = [] {
    std::array<int, kLastShade + 1> none{};
    none.fill(-1);
    return none;
  }();
};

}  // namespace

Scene BuildScene(const TList<TList<CFloor>>& buildings, const SceneSettings& settings,
                 const std::vector<FinishedBuilding>* finished,
                 const std::vector<TypedBuilding>* typed,
                 const std::vector<FurnishedBuilding>* furnished) {
  return SceneBuilder(settings).Build(buildings, finished, typed, furnished);
}

Scene BuildNavMeshScene(const SceneSettings& settings) { return SceneBuilder(settings).BuildNavMeshes(); }

std::size_t TriangleCount(const Scene& scene) {
  std::size_t count = 0;
  for (const SceneMesh& mesh : scene.meshes) count += mesh.indices.size() / 3;
  return count;
}

}  // namespace quarn
