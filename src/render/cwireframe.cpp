#include "render/cwireframe.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include <GL/gl.h>

namespace {

constexpr std::size_t kLinesPerBox = 4 * kBoxFaceCount;

// Equal as the GL sees them: by value, so -0 and 0 are one coordinate.
bool SameLine(const CFaceVertex3* a, const CVector3& from, const CVector3& to) {
  return a[0].position == from && a[1].position == to;
}

std::uint64_t HashOf(const CVector3& from, const CVector3& to) {
  std::uint64_t h = 0x9e3779b97f4a7c15u;
  for (float v : {from.x, from.y, from.z, to.x, to.y, to.z}) {
    // Adding 0 turns -0 into 0, so equal values hash alike.
    h = (h ^ std::bit_cast<std::uint32_t>(v + 0.0f)) * 0xff51afd7ed558ccdu;
  }
  return h ^ (h >> 29);
}

// The lines kept so far, found by their ends: an open-addressing table of
// line numbers + 1 (0 marks a free slot), at most half full.
class KeptLines {
 public:
  explicit KeptLines(std::size_t most)
      : slots_(std::bit_ceil(2 * most + 2), 0), mask_(slots_.size() - 1) {}

  // Whether the line from..to is in lines (two vertices a line) already;
  // if not, it is recorded as the next line, which lines must then append.
  bool FindOrAdd(const std::vector<CFaceVertex3>& lines, const CVector3& from, const CVector3& to) {
    for (std::size_t slot = HashOf(from, to) & mask_;; slot = (slot + 1) & mask_) {
      const std::uint32_t entry = slots_[slot];
      if (entry == 0) {
        slots_[slot] = static_cast<std::uint32_t>(lines.size() / 2 + 1);
        return false;
      }
      if (SameLine(&lines[2 * (entry - 1)], from, to)) return true;
    }
  }

 private:
  std::vector<std::uint32_t> slots_;
  std::size_t mask_;
};

}  // namespace

CWireframe::CWireframe(const CFloor& floor) {
  std::size_t boxes = 0;
  for (int w = 0; w < floor.walls.GetSize(); ++w)
    boxes += static_cast<std::size_t>(floor.walls[w].pieces.GetSize());
  KeptLines kept(boxes * kLinesPerBox);
  vertices_.reserve(2 * boxes * kLinesPerBox);
  for (int w = 0; w < floor.walls.GetSize(); ++w) {
    const TList<CBox3>& pieces = floor.walls[w].pieces;
    for (int p = 0; p < pieces.GetSize(); ++p) {
      for (unsigned side = 0; side < kBoxFaceCount; ++side) {
        const std::array<CFaceVertex3, 4> corners = pieces[p].GetFace(side).GetVertices();
        for (std::size_t i = 0; i < corners.size(); ++i) {
          const CFaceVertex3& from = corners[i];
          const CFaceVertex3& to = corners[(i + 1) % corners.size()];
          if (kept.FindOrAdd(vertices_, from.position, to.position)) continue;
          vertices_.push_back(from);
          vertices_.push_back(to);
        }
      }
    }
  }
}

void CWireframe::Draw() const {
  if (vertices_.empty()) return;
  constexpr GLsizei kStride = sizeof(CFaceVertex3);
  const CFaceVertex3& first = vertices_.front();
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, &first.position.x);
  glNormalPointer(GL_FLOAT, kStride, &first.normal.x);
  glTexCoordPointer(2, GL_FLOAT, kStride, first.texCoord.data());
  glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(vertices_.size()));
  glPopClientAttrib();
  // Immediate drawing leaves the last vertex's normal and texture
  // coordinates current; so does this.
  const CFaceVertex3& last = vertices_.back();
  glNormal3f(last.normal.x, last.normal.y, last.normal.z);
  glTexCoord2f(last.texCoord[0], last.texCoord[1]);
}
