// The 3D exports: laws of the scene over random outlines, the Khronos
// validator over the examples' glTF files, and assimp reading the L back.

#include "export/sceneexport.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "cli/generate.h"
#include "geom/outline_helpers.h"
#include "geom/outlinecheck.h"
#include "furnish/furnish.h"
#include "programme/programme.h"

namespace {

namespace fs = std::filesystem;
using Buildings = TList<TList<CFloor>>;

constexpr std::uint32_t kMidFirstRoom = 20;  // the first room takes about 45 steps

// Generates without writing the design trace.
Buildings Generate(const TList<CPolygon2>& loops, std::uint32_t steps, std::uint32_t storeys = 1) {
  Buildings buildings;
  for (int i = 0; i < loops.GetSize(); ++i) {
    buildings.Add(CBuilding(CFloorSpec(loops[i], storeys, 0, 45), steps).floors);
  }
  return buildings;
}

TList<CPolygon2> Example(const std::string& name) {
  std::ifstream in(fs::path(QUARN_SOURCE_DIR) / "examples" / name, std::ios::binary);
  return quarn::ReadOutlineFile(in).loops;
}

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(fs::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Lands the scene's files in folder; returns the main file's path.
std::string Land(const quarn::Scene& scene, quarn::ExportFormat format, const fs::path& folder,
                 const std::string& fileName) {
  std::vector<quarn::OutputFile> files;
  std::string problem;
  EXPECT_TRUE(quarn::WriteScene(scene, format, fileName, files, problem)) << problem;
  EXPECT_TRUE(quarn::WriteFilesAtomically(folder.string(), files, problem)) << problem;
  return (folder / fileName).string();
}

std::size_t FacesDrawn(const Buildings& buildings) {
  std::size_t boxes = 0;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    for (int f = 0; f < buildings[b].GetSize(); ++f) {
      const CFloor& floor = buildings[b][f];
      for (int w = 0; w < floor.walls.GetSize(); ++w) boxes += floor.walls[w].pieces.GetSize();
      for (int r = 0; r < floor.slabs.GetSize(); ++r) boxes += floor.slabs[r].GetSize();
    }
  }
  return boxes * kBoxFaceCount;
}

using Vec = std::array<float, 3>;
Vec Minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec CrossOf(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float DotOf(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Over random outlines at random budgets: every triangle has area, its
// corners' normals are unit, agree with its winding and point out of its
// box (a box is 24 vertices in a row), indices are in range, and the scene
// stays within the outline, up to the wall top.
TEST(SceneLaw, TrianglesFaceOutOfTheirBoxesWithinTheOutline) {
  std::mt19937 rng(9);
  for (int trial = 0; trial < 8; ++trial) {
    CPolygon2 outline = quarn::test::OutlineOf(quarn::test::RandomCells(rng, 5, 5, 9), rng, 0);
    for (int i = 0; i < outline.GetSize(); ++i)
      outline[i] = CPoint2(outline[i].x * 4, outline[i].y * 4);
    TList<CPolygon2> loops;
    loops.Add(outline);
    const std::uint32_t steps = trial % 2 == 0 ? STEP_BUDGET_UNLIMITED : rng() % 200;
    const quarn::Scene scene = quarn::BuildScene(Generate(loops, steps), {});
    const CBox2 bounds = outline.GetExtents();
    for (const quarn::SceneMesh& mesh : scene.meshes) {
      SCOPED_TRACE(mesh.name + " of trial " + std::to_string(trial));
      ASSERT_FALSE(mesh.indices.empty());
      ASSERT_EQ(mesh.vertices.size() % 24, 0u);
      for (const quarn::SceneVertex& v : mesh.vertices) {
        ASSERT_NEAR(DotOf(v.normal, v.normal), 1.0f, 1e-6f);
        ASSERT_GE(v.position[0], bounds.GetMin().x - 0.1f);
        ASSERT_LE(v.position[0], bounds.GetMax().x + 0.1f);
        ASSERT_GE(v.position[1], -0.05f);
        ASSERT_LE(v.position[1], quarn::kStoreyRise);
        ASSERT_GE(-v.position[2], bounds.GetMin().y - 0.1f);
        ASSERT_LE(-v.position[2], bounds.GetMax().y + 0.1f);
      }
      for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
        const std::uint32_t a = mesh.indices[t], b = mesh.indices[t + 1], c = mesh.indices[t + 2];
        ASSERT_LT(std::max({a, b, c}), mesh.vertices.size());
        ASSERT_EQ(a / 24, c / 24) << "a triangle stays on its box";
        Vec centre{};
        for (std::uint32_t i = a / 24 * 24; i < a / 24 * 24 + 24; ++i) {
          for (int k = 0; k < 3; ++k) centre[k] += mesh.vertices[i].position[k] / 24;
        }
        const Vec& p = mesh.vertices[a].position;
        const Vec turn =
            CrossOf(Minus(mesh.vertices[b].position, p), Minus(mesh.vertices[c].position, p));
        const Vec& normal = mesh.vertices[a].normal;
        ASSERT_GT(DotOf(turn, turn), 0.0f) << "non-zero area";
        ASSERT_GT(DotOf(turn, normal), 0.0f) << "counter-clockwise seen from outside";
        ASSERT_GT(DotOf(Minus(p, centre), normal), 0.0f) << "normal points out of the box";
      }
    }
  }
}

// Node names run building / storey / room / wall; a building without rooms
// still has its building and storey nodes and no mesh.
TEST(SceneLaw, StepZeroIsBuildingAndStoreyNodesOnly) {
  const quarn::Scene scene = quarn::BuildScene(Generate(Example("courtyard.quarn"), 0), {});
  ASSERT_EQ(scene.roots.size(), 1u);
  EXPECT_TRUE(scene.meshes.empty());
  EXPECT_TRUE(scene.materials.empty());
  ASSERT_EQ(scene.nodes.size(), 2u);
  EXPECT_EQ(scene.nodes[0].name, "building 0");
  EXPECT_EQ(scene.nodes[1].name, "storey 0");
}

// A finished building names its entrance and stairs with their facts, and
// stands each storey 3 m above the one below.
TEST(SceneLaw, FinishedCourtyardHasItsEntranceStairsAndRealHeights) {
  const Buildings buildings = Generate(Example("courtyard.quarn"), STEP_BUDGET_UNLIMITED, 3);
  const std::vector<quarn::FinishedBuilding> finished = quarn::FinishBuildings(buildings);
  const quarn::Scene scene = quarn::BuildScene(buildings, {1.0f, true, 3.0f}, &finished);
  std::map<std::string, const quarn::SceneNode*> named;
  for (const quarn::SceneNode& node : scene.nodes) named[node.name] = &node;
  ASSERT_TRUE(named.count("entrance"));
  EXPECT_EQ(std::get<int>(named["entrance"]->extras[0].second), finished[0].entrance->wall);
  for (const char* stairs : {"stairs 0", "stairs 1"}) {
    ASSERT_TRUE(named.count(stairs)) << stairs;
    EXPECT_EQ(named[stairs]->extras[0].first, "from");
    EXPECT_GE(named[stairs]->mesh, 0);
  }
  EXPECT_FLOAT_EQ(named["storey 2"]->translation[1], 6.0f);
  int entranceWalls = 0;
  float top = 0;
  for (const quarn::SceneMesh& mesh : scene.meshes) {
    for (const auto& [key, value] : mesh.extras) {
      entranceWalls += key == "opening" && std::get<std::string>(value) == "entrance";
    }
    if (mesh.name.starts_with("wall")) {
      for (const quarn::SceneVertex& v : mesh.vertices) top = std::max(top, v.position[1]);
    }
  }
  EXPECT_EQ(entranceWalls, 1);
  EXPECT_FLOAT_EQ(top, 3.0f) << "walls are 3 m high";
}

// A typed building names its rooms by type and index with their type and
// area in m², and a closed door's wall is its uncut box.
TEST(SceneLaw, TypedCourtyardNamesRoomsByTypeAndClosesDoors) {
  const Buildings buildings = Generate(Example("courtyard.quarn"), STEP_BUDGET_UNLIMITED, 2);
  const std::vector<quarn::FinishedBuilding> finished = quarn::FinishBuildings(buildings);
  const quarn::Programme house = *quarn::GetBuiltinProgramme("house");
  const std::vector<quarn::TypedBuilding> typed = {
      quarn::ApplyProgramme(buildings[0], finished[0], house, 0.5f)};
  const quarn::Scene scene = quarn::BuildScene(buildings, {0.5f, true, 3.0f}, &finished, &typed);
  int rooms = 0;
  for (const quarn::SceneNode& node : scene.nodes) {
    if (node.extras.size() != 5) continue;
    ++rooms;
    const int room = std::get<int>(node.extras[0].second);
    EXPECT_TRUE(node.name.ends_with(" (room " + std::to_string(room) + ")")) << node.name;
    EXPECT_EQ(node.extras[3].first, "type");
    EXPECT_TRUE(node.name.starts_with(std::get<std::string>(node.extras[3].second)) ||
                node.name.starts_with("living") || node.name.starts_with("dining"))
        << node.name;
    EXPECT_EQ(node.extras[4].first, "area_m2");
    EXPECT_DOUBLE_EQ(std::get<double>(node.extras[4].second),
                     std::get<int>(node.extras[1].second) * 0.25);
  }
  EXPECT_EQ(rooms, buildings[0][0].rooms.GetSize() + buildings[0][1].rooms.GetSize());
  int closed = 0;
  for (const quarn::SceneMesh& mesh : scene.meshes) {
    if (!mesh.name.starts_with("wall")) continue;
    const auto opening = std::find_if(mesh.extras.begin(), mesh.extras.end(),
                                      [](const auto& extra) { return extra.first == "opening"; });
    const auto& rooms = std::get<std::vector<int>>(mesh.extras.front().second);
    if (opening == mesh.extras.end() || rooms.size() != 2) continue;
    const bool none = std::get<std::string>(opening->second) == "none";
    closed += none ? 1 : 0;
    EXPECT_EQ(mesh.vertices.size(), none ? 24u : 72u) << mesh.name << ": one box, or three round a door";
  }
  EXPECT_GT(closed, 0);
  EXPECT_EQ(std::get<std::string>(scene.nodes[0].extras.back().second), "house");
}

// Runs the validator once over every file; returns its output by file.
std::map<std::string, std::string> Validate(const std::vector<std::string>& files) {
  std::string command = "NODE_PATH='" + std::string(QUARN_NODE_MODULES) + "' '" +
                        std::string(QUARN_NODE) + "' '" + QUARN_VALIDATOR_SCRIPT + "'";
  for (const std::string& file : files) command += " '" + file + "'";
  std::map<std::string, std::string> results;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string line, file;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
    line = buffer;
    const std::size_t colon = line.find(": ");
    if (line.rfind("  ", 0) != 0 && colon != std::string::npos) file = line.substr(0, colon);
    results[file] += line;
  }
  return results;
}

// Every example, textured and plain, at step 0, in the middle of the first
// room and finished, as .glb and .gltf: 0 errors and 0 warnings.
TEST(GltfFiles, TheValidatorFindsNoErrorOrWarning) {
  const ScratchFolder folder("quarn-gltf-validate");
  std::vector<std::string> files;
  for (const char* example : {"square", "l-shape", "courtyard"}) {
    for (const std::uint32_t steps : {0u, kMidFirstRoom, STEP_BUDGET_UNLIMITED}) {
      const Buildings buildings = Generate(Example(std::string(example) + ".quarn"), steps);
      for (const bool textured : {true, false}) {
        const quarn::Scene scene = quarn::BuildScene(buildings, {1.0f, textured, std::nullopt});
        const std::string name = std::string(example) + "-" +
                                 (steps == STEP_BUDGET_UNLIMITED ? "all" : std::to_string(steps)) +
                                 (textured ? "-textured" : "-plain");
        files.push_back(Land(scene, quarn::ExportFormat::kGlb, folder.Path(), name + ".glb"));
        files.push_back(Land(scene, quarn::ExportFormat::kGltf, folder.Path(), name + ".gltf"));
      }
    }
  }
  // Finished: three storeys at 3 m, with the entrance, the stairs and the
  // hidden navigation mesh.
  for (const char* example : {"l-shape", "courtyard"}) {
    const Buildings buildings = Generate(Example(std::string(example) + ".quarn"),
                                         STEP_BUDGET_UNLIMITED, 3);
    const std::vector<quarn::FinishedBuilding> finished = quarn::FinishBuildings(buildings);
    quarn::SceneSettings settings{1.0f, true, 3.0f};
    for (const quarn::NavBuilding& nav : quarn::NavigateBuildings(buildings, finished, nullptr, nullptr, {}, {})) {
      settings.navMeshes.push_back(nav.mesh->GetPolygons());
    }
    const quarn::Scene scene = quarn::BuildScene(buildings, settings, &finished);
    const std::string name = std::string(example) + "-finished";
    files.push_back(Land(scene, quarn::ExportFormat::kGlb, folder.Path(), name + ".glb"));
    files.push_back(Land(scene, quarn::ExportFormat::kGltf, folder.Path(), name + ".gltf"));
    // Typed by each built-in programme: room names, type extras, closed doors.
    for (const char* programme : {"house", "office"}) {
      const std::vector<quarn::TypedBuilding> typed = {quarn::ApplyProgramme(
          buildings[0], finished[0], *quarn::GetBuiltinProgramme(programme), 1.0f)};
      const quarn::Scene typedScene = quarn::BuildScene(buildings, {1.0f, true, 3.0f}, &finished, &typed);
      files.push_back(Land(typedScene, quarn::ExportFormat::kGlb, folder.Path(),
                           name + "-" + programme + ".glb"));
      // Furnished: a node and a mesh per piece, a material per kind.
      const std::vector<quarn::FurnishedBuilding> furnished = {
          quarn::FurnishBuilding(buildings[0], finished[0], typed[0], 1.0f)};
      const quarn::Scene furnishedScene =
          quarn::BuildScene(buildings, {1.0f, true, 3.0f}, &finished, &typed, &furnished);
      files.push_back(Land(furnishedScene, quarn::ExportFormat::kGltf, folder.Path(),
                           name + "-" + programme + "-furnished.gltf"));
    }
  }
  const std::map<std::string, std::string> results = Validate(files);
  for (const std::string& file : files) {
    const auto found = results.find(file);
    ASSERT_NE(found, results.end()) << file << " was not validated:\n" << results.begin()->second;
    EXPECT_NE(found->second.find(": 0 errors, 0 warnings,"), std::string::npos) << found->second;
    std::cout << fs::path(found->second).filename().string();
  }
}

struct ReadBackCase {
  const char* name;
  quarn::ExportFormat format;
  const char* file;
  int extraMaterials;  // default materials the importer adds of its own
};

// assimp reads the L back with its meshes, materials, room nodes and
// every drawn face as two triangles.
TEST(AssimpReadBack, TheLHasItsMeshesMaterialsRoomsAndTriangles) {
  const ScratchFolder folder("quarn-assimp-read");
  const Buildings buildings = Generate(Example("l-shape.quarn"), STEP_BUDGET_UNLIMITED);
  const quarn::Scene scene = quarn::BuildScene(buildings, {});
  const int rooms = buildings[0][0].rooms.GetSize();
  for (const ReadBackCase& c : {ReadBackCase{"glb", quarn::ExportFormat::kGlb, "l.glb", 1},
                                ReadBackCase{"obj", quarn::ExportFormat::kObj, "l.obj", 1},
                                ReadBackCase{"fbx", quarn::ExportFormat::kFbx, "l.fbx", 0}}) {
    SCOPED_TRACE(c.name);
    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(Land(scene, c.format, folder.Path(), c.file), 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();
    EXPECT_EQ(read->mNumMeshes, scene.meshes.size());
    EXPECT_EQ(read->mNumMaterials, scene.materials.size() + c.extraMaterials);
    std::size_t triangles = 0;
    for (unsigned i = 0; i < read->mNumMeshes; ++i) triangles += read->mMeshes[i]->mNumFaces;
    EXPECT_EQ(triangles, 2 * FacesDrawn(buildings));
    int roomNodes = 0;
    const std::function<void(const aiNode*)> count = [&](const aiNode* node) {
      const std::string name = node->mName.C_Str();
      roomNodes += name.rfind("room ", 0) == 0 && name.find(' ', 5) == std::string::npos;
      for (unsigned i = 0; i < node->mNumChildren; ++i) count(node->mChildren[i]);
    };
    count(read->mRootNode);
    EXPECT_EQ(roomNodes, rooms);
  }
}

// assimp reads a furnished L back as glTF and FBX with a node per piece,
// named by kind and room.
TEST(AssimpReadBack, TheFurnishedLHasANodePerPiece) {
  const ScratchFolder folder("quarn-assimp-furnished");
  const Buildings buildings = Generate(Example("l-shape.quarn"), STEP_BUDGET_UNLIMITED, 2);
  const std::vector<quarn::FinishedBuilding> finished = quarn::FinishBuildings(buildings);
  const std::vector<quarn::TypedBuilding> typed = {
      quarn::ApplyProgramme(buildings[0], finished[0], *quarn::GetBuiltinProgramme("house"), 1.0f)};
  const std::vector<quarn::FurnishedBuilding> furnished = {
      quarn::FurnishBuilding(buildings[0], finished[0], typed[0], 1.0f)};
  ASSERT_FALSE(furnished[0].pieces.empty());
  const quarn::Scene scene = quarn::BuildScene(buildings, {1.0f, true, 3.0f}, &finished, &typed, &furnished);
  for (const ReadBackCase& c : {ReadBackCase{"glb", quarn::ExportFormat::kGlb, "f.glb", 1},
                                                            ReadBackCase{"fbx", quarn::ExportFormat::kFbx, "f.fbx", 0}}) {
    SCOPED_TRACE(c.name);
    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(Land(scene, c.format, folder.Path(), c.file), 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();
    EXPECT_EQ(read->mNumMeshes, scene.meshes.size());
    std::set<std::string> kinds;
    for (const quarn::FurniturePiece& piece : furnished[0].pieces) kinds.insert(piece.kind);
    std::size_t pieceNodes = 0;
    const std::function<void(const aiNode*)> count = [&](const aiNode* node) {
      const std::string name = node->mName.C_Str();
      const std::size_t room = name.find(" (room ");
      pieceNodes += room != std::string::npos && kinds.count(name.substr(0, room)) == 1;
      for (unsigned i = 0; i < node->mNumChildren; ++i) count(node->mChildren[i]);
    };
    count(read->mRootNode);
    EXPECT_EQ(pieceNodes, furnished[0].pieces.size());
  }
}

}  // namespace
