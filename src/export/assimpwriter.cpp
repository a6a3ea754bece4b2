#include "export/assimpwriter.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Exporter.hpp>
#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>
#include <cstring>
#include <map>
#include <memory>

#include "export/textures.h"

namespace quarn {
namespace {

// Files the exporter writes, kept in memory by name.
using MemoryFiles = std::map<std::string, std::string>;

class MemoryStream : public Assimp::IOStream {
 public:
  explicit MemoryStream(std::string& bytes) : bytes_(bytes) {}
  size_t Read(void*, size_t, size_t) override { return 0; }
  size_t Write(const void* data, size_t size, size_t count) override {
    bytes_.append(static_cast<const char*>(data), size * count);
    return count;
  }
  aiReturn Seek(size_t, aiOrigin) override { return aiReturn_FAILURE; }
  size_t Tell() const override { return bytes_.size(); }
  size_t FileSize() const override { return bytes_.size(); }
  void Flush() override {}

 private:
  std::string& bytes_;
};

class MemoryFileSystem : public Assimp::IOSystem {
 public:
  explicit MemoryFileSystem(MemoryFiles& files) : files_(files) {}
  bool Exists(const char* file) const override { return files_.count(file) != 0; }
  char getOsSeparator() const override { return '/'; }
  Assimp::IOStream* Open(const char* file, const char* mode) override {
    if (std::strchr(mode, 'w') == nullptr) return nullptr;
    std::string& bytes = files_[file];
    bytes.clear();
    return new MemoryStream(bytes);
  }
  void Close(Assimp::IOStream* stream) override { delete stream; }

 private:
  MemoryFiles& files_;
};

aiString Text(const std::string& text) { return aiString(text); }

aiMesh* MakeMesh(const SceneMesh& in) {
  auto* mesh = new aiMesh();
  mesh->mName = Text(in.name);
  mesh->mMaterialIndex = static_cast<unsigned>(in.material);
  mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  const auto n = static_cast<unsigned>(in.vertices.size());
  mesh->mNumVertices = n;
  mesh->mVertices = new aiVector3D[n];
  mesh->mNormals = new aiVector3D[n];
  mesh->mTextureCoords[0] = new aiVector3D[n];
  mesh->mNumUVComponents[0] = 2;
  for (unsigned i = 0; i < n; ++i) {
    const SceneVertex& v = in.vertices[i];
    mesh->mVertices[i] = aiVector3D(v.position[0], v.position[1], v.position[2]);
    mesh->mNormals[i] = aiVector3D(v.normal[0], v.normal[1], v.normal[2]);
    mesh->mTextureCoords[0][i] = aiVector3D(v.texCoord[0], v.texCoord[1], 0.0f);
  }
  mesh->mNumFaces = static_cast<unsigned>(in.indices.size() / 3);
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    aiFace& face = mesh->mFaces[f];
    face.mNumIndices = 3;
    face.mIndices = new unsigned[3];
    std::copy_n(in.indices.begin() + 3 * f, 3, face.mIndices);
  }
  return mesh;
}

aiMaterial* MakeMaterial(const SceneMaterial& in, const std::string& stem) {
  auto* material = new aiMaterial();
  const aiString name = Text(in.name);
  material->AddProperty(&name, AI_MATKEY_NAME);
  const aiColor3D colour(in.colour[0], in.colour[1], in.colour[2]);
  material->AddProperty(&colour, 1, AI_MATKEY_COLOR_DIFFUSE);
  if (in.texture != SceneTexture::kNone) {
    const aiString file = Text(TextureFileName(stem, in.texture));
    material->AddProperty(&file, AI_MATKEY_TEXTURE_DIFFUSE(0));
  }
  return material;
}

aiNode* MakeNode(const Scene& scene, int index, aiNode* parent) {
  const SceneNode& in = scene.nodes[static_cast<std::size_t>(index)];
  auto* node = new aiNode(in.name);
  node->mParent = parent;
  aiMatrix4x4::Translation(aiVector3D(in.translation[0], in.translation[1], in.translation[2]),
                           node->mTransformation);
  if (in.mesh >= 0) {
    node->mNumMeshes = 1;
    node->mMeshes = new unsigned[1]{static_cast<unsigned>(in.mesh)};
  }
  node->mNumChildren = static_cast<unsigned>(in.children.size());
  if (node->mNumChildren > 0) {
    node->mChildren = new aiNode*[node->mNumChildren];
    for (unsigned i = 0; i < node->mNumChildren; ++i) {
      node->mChildren[i] = MakeNode(scene, in.children[i], node);
    }
  }
  return node;
}

// The assimp scene: a root over the building nodes; a plain grey material
// when the scene has none, since assimp's writers need one.
std::unique_ptr<aiScene> MakeScene(const Scene& scene, const std::string& stem) {
  auto out = std::make_unique<aiScene>();
  SceneNode root{"buildings", {}, -1, scene.roots, {}};
  Scene withRoot = {{}, {}, scene.nodes, {}};
  withRoot.nodes.push_back(root);
  out->mRootNode = MakeNode(withRoot, static_cast<int>(withRoot.nodes.size()) - 1, nullptr);

  std::vector<SceneMaterial> materials = scene.materials;
  if (materials.empty()) materials.push_back({"default", {0.5f, 0.5f, 0.5f}, SceneTexture::kNone});
  out->mNumMaterials = static_cast<unsigned>(materials.size());
  out->mMaterials = new aiMaterial*[out->mNumMaterials];
  for (unsigned i = 0; i < out->mNumMaterials; ++i)
    out->mMaterials[i] = MakeMaterial(materials[i], stem);

  out->mNumMeshes = static_cast<unsigned>(scene.meshes.size());
  if (out->mNumMeshes > 0) {
    out->mMeshes = new aiMesh*[out->mNumMeshes];
    for (unsigned i = 0; i < out->mNumMeshes; ++i) out->mMeshes[i] = MakeMesh(scene.meshes[i]);
  }
  return out;
}

}  // namespace

bool WriteWithAssimp(const Scene& scene, AssimpFormat format, const std::string& stem,
                     std::vector<OutputFile>& files, std::string& problem) {
  const std::unique_ptr<aiScene> assimpScene = MakeScene(scene, stem);
  MemoryFiles written;
  Assimp::Exporter exporter;
  exporter.SetIOHandler(new MemoryFileSystem(written));  // the exporter owns it
  const bool obj = format == AssimpFormat::kObj;
  const std::string main = stem + (obj ? ".obj" : ".fbx");
  if (exporter.Export(assimpScene.get(), obj ? "obj" : "fbxa", main) != aiReturn_SUCCESS) {
    problem = exporter.GetErrorString();
    return false;
  }
  const auto mainFile = written.find(main);
  if (mainFile == written.end()) {
    problem = "the exporter wrote no " + main;
    return false;
  }
  files = {{main, std::move(mainFile->second)}};
  written.erase(mainFile);
  for (auto& [name, bytes] : written) files.push_back({name, std::move(bytes)});
  for (const SceneTexture kind : {SceneTexture::kBrick, SceneTexture::kFloor}) {
    const bool used = std::any_of(scene.materials.begin(), scene.materials.end(),
                                  [kind](const SceneMaterial& m) { return m.texture == kind; });
    if (used) files.push_back({TextureFileName(stem, kind), TexturePng(kind)});
  }
  return true;
}

}  // namespace quarn
