#include "export/gltfwriter.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>

#include "export/textures.h"

namespace quarn {
namespace {

using tinygltf::Value;

// A file name as a relative URI: every byte outside the unreserved set
// percent-encoded.
std::string UriOf(const std::string& name) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string uri;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += c;
    } else {
      uri += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return uri;
}

Value ToValue(const ExtraValue& extra) {
  return std::visit(
      [](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::vector<int>>) {
          Value::Array array;
          for (const int i : v) array.push_back(Value(i));
          return Value(std::move(array));
        } else {
          return Value(v);
        }
      },
      extra);
}

Value ToValue(const Extras& extras) {
  Value::Object object;
  for (const auto& [key, value] : extras) object[key] = ToValue(value);
  return Value(std::move(object));
}

// The one buffer: every mesh's positions, normals, texture coordinates and
// indices in four runs (each a buffer view), then the embedded images.
class ModelBuilder {
 public:
  ModelBuilder(const Scene& scene, const std::string& imageBaseName)
      : scene_(scene), imageBaseName_(imageBaseName) {
    for (const SceneMaterial& m : scene.materials) textured_ |= m.texture != SceneTexture::kNone;
  }

  tinygltf::Model Build() {
    model_.asset.version = "2.0";
    model_.asset.generator = "QUARN";
    AddGeometry();
    AddMaterials();
    for (const SceneNode& n : scene_.nodes) AddNode(n);
    tinygltf::Scene scene;
    scene.nodes = scene_.roots;
    model_.scenes.push_back(std::move(scene));
    model_.defaultScene = 0;
    if (!data_.empty()) {
      tinygltf::Buffer buffer;
      buffer.data = std::move(data_);
      model_.buffers.push_back(std::move(buffer));
    }
    return std::move(model_);
  }

 private:
  static constexpr int kPositions = 0, kNormals = 1, kTexCoords = 2;

  template <typename T>
  static void Append(std::vector<unsigned char>& out, const T& value) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof(T));
  }

  // Appends bytes as a buffer view of its own (4-byte aligned); returns its index.
  int AddView(const std::vector<unsigned char>& bytes, int stride, int target) {
    while (data_.size() % 4 != 0) data_.push_back(0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data_.size();
    view.byteLength = bytes.size();
    view.byteStride = static_cast<std::size_t>(stride);
    view.target = target;
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    model_.bufferViews.push_back(std::move(view));
    return static_cast<int>(model_.bufferViews.size()) - 1;
  }

  int AddAccessor(int view, std::size_t byteOffset, std::size_t count, int componentType,
                  int type) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.byteOffset = byteOffset;
    accessor.count = count;
    accessor.componentType = componentType;
    accessor.type = type;
    model_.accessors.push_back(std::move(accessor));
    return static_cast<int>(model_.accessors.size()) - 1;
  }

  void AddGeometry() {
    if (scene_.meshes.empty()) return;
    std::array<std::vector<unsigned char>, 3> attributes;
    std::vector<unsigned char> indices;
    std::size_t vertexCount = 0, indexCount = 0;
    for (const SceneMesh& mesh : scene_.meshes) {
      vertexCount += mesh.vertices.size();
      indexCount += mesh.indices.size();
    }
    attributes[kPositions].reserve(vertexCount * 12);
    attributes[kNormals].reserve(vertexCount * 12);
    if (textured_) attributes[kTexCoords].reserve(vertexCount * 8);
    indices.reserve(indexCount * 4);
    // Room for the geometry, its alignment and the images.
    data_.reserve(vertexCount * 32 + indexCount * 4 + 16 +
                  (textured_ ? TexturePng(SceneTexture::kBrick).size() +
                                   TexturePng(SceneTexture::kFloor).size() + 8
                             : 0));
    for (const SceneMesh& mesh : scene_.meshes) {
      for (const SceneVertex& v : mesh.vertices) {
        Append(attributes[kPositions], v.position);
        Append(attributes[kNormals], v.normal);
        if (textured_)
          Append(attributes[kTexCoords], std::array<float, 2>{v.texCoord[0], 1.0f - v.texCoord[1]});
      }
      for (const std::uint32_t i : mesh.indices) Append(indices, i);
    }
    const int positions = AddView(attributes[kPositions], 12, TINYGLTF_TARGET_ARRAY_BUFFER);
    const int normals = AddView(attributes[kNormals], 12, TINYGLTF_TARGET_ARRAY_BUFFER);
    const int texCoords =
        textured_ ? AddView(attributes[kTexCoords], 8, TINYGLTF_TARGET_ARRAY_BUFFER) : -1;
    const int indexView = AddView(indices, 0, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);

    std::size_t firstVertex = 0, firstIndex = 0;
    for (const SceneMesh& mesh : scene_.meshes) {
      tinygltf::Primitive primitive;
      primitive.mode = TINYGLTF_MODE_TRIANGLES;
      primitive.material = mesh.material;
      const std::size_t n = mesh.vertices.size();
      const int position = AddAccessor(positions, firstVertex * 12, n,
                                       TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
      SetBounds(model_.accessors[static_cast<std::size_t>(position)], mesh);
      primitive.attributes["POSITION"] = position;
      primitive.attributes["NORMAL"] = AddAccessor(
          normals, firstVertex * 12, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
      if (textured_) {
        primitive.attributes["TEXCOORD_0"] = AddAccessor(
            texCoords, firstVertex * 8, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC2);
      }
      primitive.indices = AddAccessor(indexView, firstIndex * 4, mesh.indices.size(),
                                      TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR);
      tinygltf::Mesh out;
      out.name = mesh.name;
      out.primitives.push_back(std::move(primitive));
      if (!mesh.extras.empty()) out.extras = ToValue(mesh.extras);
      model_.meshes.push_back(std::move(out));
      firstVertex += n;
      firstIndex += mesh.indices.size();
    }
  }

  static void SetBounds(tinygltf::Accessor& accessor, const SceneMesh& mesh) {
    std::array<float, 3> low, high;
    low.fill(std::numeric_limits<float>::max());
    high.fill(std::numeric_limits<float>::lowest());
    for (const SceneVertex& v : mesh.vertices) {
      for (std::size_t a = 0; a < 3; ++a) {
        low[a] = std::min(low[a], v.position[a]);
        high[a] = std::max(high[a], v.position[a]);
      }
    }
    accessor.minValues.assign(low.begin(), low.end());
    accessor.maxValues.assign(high.begin(), high.end());
  }

  // The texture of kind, made on first use with its image and the sampler.
  int TextureOf(SceneTexture kind) {
    auto& index = textures_[static_cast<std::size_t>(kind)];
    if (index >= 0) return index;
    if (model_.samplers.empty()) {
      tinygltf::Sampler sampler;
      sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
      sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
      model_.samplers.push_back(sampler);
    }
    tinygltf::Image image;
    image.name = TextureName(kind);
    if (imageBaseName_.empty()) {
      const std::string& png = TexturePng(kind);
      image.bufferView = AddView(std::vector<unsigned char>(png.begin(), png.end()), 0, 0);
      image.mimeType = "image/png";
    } else {
      image.uri = UriOf(TextureFileName(imageBaseName_, kind));
    }
    model_.images.push_back(std::move(image));
    tinygltf::Texture texture;
    texture.sampler = 0;
    texture.source = static_cast<int>(model_.images.size()) - 1;
    model_.textures.push_back(texture);
    index = static_cast<int>(model_.textures.size()) - 1;
    return index;
  }

  void AddMaterials() {
    for (const SceneMaterial& m : scene_.materials) {
      tinygltf::Material material;
      material.name = m.name;
      material.pbrMetallicRoughness.baseColorFactor = {m.colour[0], m.colour[1], m.colour[2], 1.0};
      material.pbrMetallicRoughness.metallicFactor = 0.0;
      material.pbrMetallicRoughness.roughnessFactor = 1.0;
      if (m.texture != SceneTexture::kNone) {
        material.pbrMetallicRoughness.baseColorTexture.index = TextureOf(m.texture);
      }
      model_.materials.push_back(std::move(material));
    }
  }

  void AddNode(const SceneNode& n) {
    tinygltf::Node node;
    node.name = n.name;
    node.mesh = n.mesh;
    node.children = n.children;
    if (n.translation != std::array<float, 3>{}) {
      node.translation.assign(n.translation.begin(), n.translation.end());
    }
    if (!n.extras.empty()) node.extras = ToValue(n.extras);
    model_.nodes.push_back(std::move(node));
  }

  const Scene& scene_;
  const std::string imageBaseName_;  // empty: images inside the buffer
  bool textured_ = false;
  tinygltf::Model model_;
  std::vector<unsigned char> data_;
  std::array<int, 3> textures_{-1, -1, -1};
};

// A stream buffer appending to a string, without a buffer of its own.
class StringSink : public std::streambuf {
 public:
  explicit StringSink(std::string& bytes) : bytes_(bytes) {}

 protected:
  std::streamsize xsputn(const char* data, std::streamsize n) override {
    bytes_.append(data, static_cast<std::size_t>(n));
    return n;
  }
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) bytes_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }

 private:
  std::string& bytes_;
};

// The whole file as tinygltf writes it: glb, or with external resources
// the glb's JSON chunk still lacking its buffer's file name. Nothing when
// tinygltf reports a failure or the stream took no bytes.
std::optional<std::string> Serialise(const tinygltf::Model& model) {
  tinygltf::TinyGLTF writer;
  // Images either live in the buffer or are written by the caller.
  writer.SetImageWriter(nullptr, nullptr);
  std::string bytes;
  // The buffer and a generous allowance for the JSON, so the file is not
  // copied as it grows.
  bytes.reserve((model.buffers.empty() ? 0 : model.buffers[0].data.size()) +
                model.accessors.size() * 256 + 4096);
  StringSink sink(bytes);
  std::ostream out(&sink);
  if (!writer.WriteGltfSceneToStream(&model, out, false, true) || !out) return std::nullopt;
  return bytes;
}

std::uint32_t Word(std::string_view bytes, std::size_t at) {
  std::uint32_t word = 0;
  std::memcpy(&word, bytes.data() + at, sizeof word);
  return word;
}

// The serialised model checked as a glb file, with its JSON chunk.
bool SerialiseChecked(const tinygltf::Model& model, std::string& glb, std::string_view& json,
                      std::string& problem) {
  std::optional<std::string> bytes = Serialise(model);
  if (!bytes) {
    problem = "the glTF writer failed";
    return false;
  }
  glb = std::move(*bytes);
  const std::optional<std::string_view> chunk = GlbJsonChunk(glb);
  if (!chunk) {
    problem = "the glTF writer gave a malformed file";
    return false;
  }
  json = *chunk;
  return true;
}

}  // namespace

std::optional<std::string_view> GlbJsonChunk(std::string_view glb) {
  // The 12-byte header (magic, version, total length), then the first
  // chunk's length and type words and its data.
  constexpr std::size_t kHeader = 12, kChunkHeader = 8;
  constexpr std::uint32_t kVersion = 2, kJsonType = 0x4E4F534A;  // "JSON"
  if (glb.size() < kHeader + kChunkHeader || glb.substr(0, 4) != "glTF") return std::nullopt;
  if (Word(glb, 4) != kVersion || Word(glb, 8) != glb.size()) return std::nullopt;
  const std::uint32_t length = Word(glb, kHeader);
  if (Word(glb, kHeader + 4) != kJsonType || length > glb.size() - kHeader - kChunkHeader)
    return std::nullopt;
  return glb.substr(kHeader + kChunkHeader, length);
}

bool WriteGlb(const Scene& scene, std::string& bytes, std::string& problem) {
  std::string_view json;
  return SerialiseChecked(ModelBuilder(scene, "").Build(), bytes, json, problem);
}

bool WriteGltf(const Scene& scene, const std::string& baseName, std::vector<OutputFile>& files,
               std::string& problem) {
  tinygltf::Model model = ModelBuilder(scene, baseName).Build();
  std::vector<unsigned char> data;
  if (!model.buffers.empty()) data.swap(model.buffers[0].data);
  std::string glb;
  std::string_view chunk;
  if (!SerialiseChecked(model, glb, chunk, problem)) return false;
  nlohmann::json json = nlohmann::json::parse(chunk, nullptr, false);
  if (json.is_discarded()) {
    problem = "the glTF writer gave malformed JSON";
    return false;
  }
  files = {{baseName + ".gltf", ""}};
  if (!data.empty()) {
    json["buffers"][0]["byteLength"] = data.size();
    json["buffers"][0]["uri"] = UriOf(baseName + ".bin");
    files.push_back({baseName + ".bin", std::string(data.begin(), data.end())});
  }
  for (const SceneTexture kind : {SceneTexture::kBrick, SceneTexture::kFloor}) {
    for (const tinygltf::Image& image : model.images) {
      if (image.name == TextureName(kind))
        files.push_back({TextureFileName(baseName, kind), TexturePng(kind)});
    }
  }
  files[0].bytes = json.dump(2) + "\n";
  return true;
}

}  // namespace quarn
