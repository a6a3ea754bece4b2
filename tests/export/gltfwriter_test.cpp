// The glb chunk reader the glTF writer checks its own output with.

#include "export/gltfwriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using quarn::GlbJsonChunk;

std::string Glb() {
  std::string glb, problem;
  EXPECT_TRUE(quarn::WriteGlb(quarn::Scene{}, glb, problem)) << problem;
  return glb;
}

std::string WithWord(std::string glb, std::size_t at, std::uint32_t word) {
  std::memcpy(glb.data() + at, &word, sizeof word);
  return glb;
}

// The JSON chunk used to be cut out of the writer's bytes without a look at
// their size: a short or malformed buffer was a read past its end.
TEST(GltfWriter, AShortOrMalformedGlbIsRefusedNotReadPastItsEnd) {
  const std::string glb = Glb();
  const auto chunk = GlbJsonChunk(glb);
  ASSERT_TRUE(chunk.has_value());
  EXPECT_EQ(chunk->substr(0, 1), "{");
  for (std::size_t length = 0; length < glb.size(); ++length) {
    // A heap copy of exactly length bytes, so reading past it is caught.
    const std::vector<char> cut(glb.begin(), glb.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(GlbJsonChunk(std::string_view(cut.data(), cut.size())).has_value()) << length;
  }
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"wrong magic", WithWord(glb, 0, 0x46546C68)},
      {"version 1", WithWord(glb, 4, 1)},
      {"total length beyond the bytes", WithWord(glb, 8, static_cast<std::uint32_t>(glb.size() + 4))},
      {"chunk beyond the bytes", WithWord(glb, 12, static_cast<std::uint32_t>(glb.size()))},
      {"largest chunk length", WithWord(glb, 12, 0xFFFFFFFF)},
      {"first chunk not JSON", WithWord(glb, 16, 0x004E4942)},
  };
  for (const auto& c : cases) EXPECT_FALSE(GlbJsonChunk(c.bytes).has_value()) << c.name;
}

}  // namespace
